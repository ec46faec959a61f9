#pragma once

#include <string>

namespace pondrel {

enum class BoxButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class BoxIcon { None, Error, Warning, Question, Information };
enum class BoxAnswer { Ok, Cancel, Yes, No };

// How the core speaks to the user: modal message boxes with the program's fixed texts, and the
// transient notice line of the main form. The Qt program shows them; tests script the answers.
class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual BoxAnswer ShowBox(const std::u16string& text, const std::u16string& caption,
                              BoxButtons buttons = BoxButtons::Ok,
                              BoxIcon icon = BoxIcon::None) = 0;
    // A short message shown for `milliseconds`, in the warning look when `warning` is set.
    virtual void ShowNotice(const std::u16string& text, int milliseconds, bool warning = false) = 0;
};

}  // namespace pondrel
