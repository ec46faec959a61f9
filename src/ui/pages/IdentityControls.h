#pragma once

#include <array>
#include <vector>

#include <QImage>
#include <QObject>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;
class QWidget;

namespace pondrel {

class PageHost;
class CPopupList;
class FieldPages;
struct Arrangement;
struct Labels;
struct PatientRecord;
struct Platform;

// The controls of page 0 and of the identity page that are not field windows: the two civility
// buttons, the icon picker, the "Sel form" button with its list of arrangements, the page
// buttons of the form pages and the age line of the identity page.
class IdentityControls final : public QObject {
public:
    static constexpr int kIconCount = 24;
    static constexpr int kMaxForms = 100;

    // `bandZero` and `identityBand` are bands of the form; everything must outlive the controls.
    IdentityControls(PageHost& view, FieldPages& pages, Platform& platform, QWidget* bandZero,
                     QWidget* identityBand);

    void SetLabels(const Labels& labels);
    // The icon strip of the installation folder (24 icons of 16 pixels in a row).
    void SetPatientIcons(const QImage& strip);
    // Shows the record's civility, icon and age.
    void ShowRecord(const PatientRecord* record);
    // One button for each offered form page 1 to 18 (every one while the windows editor is
    // open), with the page's button text.
    void ShowPageButtons(const Arrangement& arrangement, bool editorOpen);

    // The "Sel form" list (hidden when closed).
    CPopupList* FormList() const { return m_formList; }
    void ToggleFormList();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ToggleCivility();
    void ChooseIcon(int icon);
    void ChooseForm(int row);
    void HideFormList();

    PageHost& m_view;
    FieldPages& m_pages;
    Platform& m_platform;
    QWidget* m_bandZero;
    std::array<QPointer<QPushButton>, 2> m_civility;
    QPointer<QListWidget> m_iconPicker;
    QPointer<QLabel> m_iconCaption;
    QPointer<QPushButton> m_selForm;
    CPopupList* m_formList = nullptr;  // owned by the band
    std::vector<std::u16string> m_forms;
    std::vector<QPointer<QPushButton>> m_pageButtons;
    QPointer<QLabel> m_ageCaption;
    QPointer<QLabel> m_ageText;
    const Labels* m_labels = nullptr;
};

}  // namespace pondrel
