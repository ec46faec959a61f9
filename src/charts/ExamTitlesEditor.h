#pragma once

// The "Exams graph" settings dialogue without its widgets: the list of exam titles being edited,
// the selected entry, the edit's text, and the buttons with their messages.

#include <string>
#include <string_view>
#include <vector>

namespace pondrel {

class UserMessages;

class ExamTitlesEditor {
public:
    // The characters the title edit refuses.
    static constexpr std::u16string_view kRefused = u"\u00A2{}|\u00A6\u00A7\u00AC#";
    static std::u16string WithoutRefused(std::u16string_view text);

    // Opens on the stored titles (preferences item 42) with the first entry selected and copied
    // into the edit. `messages` must outlive the editor.
    ExamTitlesEditor(std::u16string_view storedTitles, UserMessages& messages);

    const std::vector<std::u16string>& Entries() const { return m_entries; }
    int Selected() const { return m_selected; }
    const std::u16string& EditText() const { return m_edit; }
    // The edit's text as typed, its refused characters left out.
    void SetEditText(std::u16string_view text) { m_edit = WithoutRefused(text); }
    // Selecting an entry copies it into the edit; -1 selects nothing.
    void Select(int index);

    // The buttons. Each says why it does nothing in a message box without caption.
    void Clear() { m_edit.clear(); }
    void Add();
    void Rename();
    void Up();
    void Down();
    void Delete();

    // "OK": every entry followed by "|".
    std::u16string StoredTitles() const;

private:
    bool Contains(std::u16string_view text) const;
    void Tell(std::u16string_view text);
    void Move(int by, std::u16string_view atEnd);

    UserMessages& m_messages;
    std::vector<std::u16string> m_entries;
    int m_selected = -1;
    std::u16string m_edit;
};

}  // namespace pondrel
