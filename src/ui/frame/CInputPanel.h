#pragma once

#include <functional>

#include <QWidget>

class QPushButton;

namespace pondrel {

// The on-screen keyboard at the bottom of the form, standing in for the handheld's soft input
// panel. Its keys never take the focus: they type into the field that has it.
class CInputPanel final : public QWidget {
public:
    static constexpr int kHeight = 80;

    explicit CInputPanel(QWidget* parent = nullptr);

    bool Shifted() const { return m_shift; }

    bool ShowsSigns() const { return m_layer == Layer::Signs; }

private:
    // The letters, or the digits and signs; the keys of both ("-", ",", ".") stay.
    enum class Layer { Letters, Signs, Both };
    struct LayerKey {
        QPushButton* key;
        Layer layer;
    };
    void AddRow(const QString& keys, int top, int left, Layer layer);
    QPushButton* AddKey(const QString& caption, const QString& objectName, QRect geometry,
                        const std::function<void()>& press);
    void Type(const QString& text);
    void SendKey(int key);
    void SetShift(bool shift);
    void SetLayer(Layer layer);

    bool m_shift = false;
    Layer m_layer = Layer::Letters;
    std::vector<LayerKey> m_layerKeys;
};

}  // namespace pondrel
