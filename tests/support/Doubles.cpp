#include "Doubles.h"

#include "platform/Text.h"

namespace pondrel::test {

BoxAnswer ScriptedMessages::ShowBox(const std::u16string& text, const std::u16string& caption,
                                    BoxButtons buttons, BoxIcon icon) {
    BoxAnswer answer;
    if (!m_answers.empty()) {
        answer = m_answers.front();
        m_answers.pop_front();
    } else {
        answer = (buttons == BoxButtons::YesNo || buttons == BoxButtons::YesNoCancel)
                     ? BoxAnswer::Yes
                     : BoxAnswer::Ok;
    }
    boxes.push_back({text, caption, buttons, icon, answer});
    return answer;
}

std::optional<std::u16string> MapRegistry::Value(std::u16string_view key,
                                                 std::u16string_view name) {
    for (const auto& [k, v] : values) {
        if (EqualsIgnoreCase(k.first, key) && EqualsIgnoreCase(k.second, name)) return v;
    }
    return std::nullopt;
}

}  // namespace pondrel::test
