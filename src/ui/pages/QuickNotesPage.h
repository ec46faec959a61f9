#pragma once

#include <QPointer>

#include "journal/ui/CSectionEdit.h"
#include "mainform/FormPage.h"
#include "ui/pages/PagePlugin.h"

class QWidget;

namespace pondrel {

class PageHost;
class FieldPages;
class UserMessages;
struct Labels;

// The quick-notes page (page 37): field 198 in a large window with "<--" (a new bulleted line),
// "Back" (backspace) and "Clear" (after a question). Changes are stored as they are made through
// the field pages' one path.
class QuickNotesPage final : public FormPage, public PagePlugin {
public:
    static constexpr int kPage = 37;
    static constexpr int kField = 198;

    QuickNotesPage(PageHost& view, FieldPages& fields, UserMessages& messages);
    ~QuickNotesPage() override;
    QuickNotesPage(const QuickNotesPage&) = delete;
    QuickNotesPage& operator=(const QuickNotesPage&) = delete;

    CSectionEdit* Notes() const { return m_notes; }
    void SetLabels(const Labels& labels) override;

    // FormPage: shows the notes and puts the focus into them.
    void ShowRecord(PatientRecord* record) override;
    void Commit() override {}
    // The focus leaves the notes, which are scrolled away.
    void Leave() override;

private:
    void Store();
    void NewBulletLine();
    void Backspace();
    void Clear();

    PageHost& m_view;
    FieldPages& m_fields;
    UserMessages& m_messages;
    QPointer<QWidget> m_page;
    QPointer<CSectionEdit> m_notes;
};

}  // namespace pondrel
