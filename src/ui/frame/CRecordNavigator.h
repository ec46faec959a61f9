#pragma once

#include <functional>

#include <QWidget>

class QLabel;

namespace pondrel {

// The record navigation row of page 0: "First", "Prev", "Next", "Last", "Close" and "New", and
// the counter "%d/%d". It only reports taps; the main form moves through the patient set.
class CRecordNavigator final : public QWidget {
public:
    enum class Button { First, Previous, Next, Last, Close, New };

    static constexpr int kHeight = 20;

    explicit CRecordNavigator(QWidget* parent = nullptr);

    void SetHandler(std::function<void(Button)> handler) { m_handler = std::move(handler); }
    void SetCounter(const QString& text);

private:
    std::function<void(Button)> m_handler;
    QLabel* m_counter = nullptr;
};

}  // namespace pondrel
