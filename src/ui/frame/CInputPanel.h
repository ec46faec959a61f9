#pragma once

#include <functional>

#include <QWidget>

namespace pondrel {

// The on-screen keyboard at the bottom of the form, standing in for the handheld's soft input
// panel. Its keys never take the focus: they type into the field that has it.
class CInputPanel final : public QWidget {
public:
    static constexpr int kHeight = 80;

    explicit CInputPanel(QWidget* parent = nullptr);

    bool Shifted() const { return m_shift; }

private:
    void AddRow(const QString& keys, int top, int left);
    void AddKey(const QString& caption, const QString& objectName, QRect geometry,
                const std::function<void()>& press);
    void Type(const QString& text);
    void SendKey(int key);
    void SetShift(bool shift);

    bool m_shift = false;
};

}  // namespace pondrel
