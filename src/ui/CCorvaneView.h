#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

#include <QImage>
#include <QScrollArea>

#include "platform/DateTime.h"
#include "records/DayNumber.h"
#include "records/StartUp.h"

class QLabel;

namespace pondrel {

class CCorvaneDoc;
struct Platform;
struct WorkingFolders;

// The main form: one tall form of 39 page bands of 290 pixels, scrolled so that one page shows
// at a time. It runs start-up when it is first shown, and owns the transient notice.
class CCorvaneView final : public QScrollArea, private StartUpSteps {
public:
    static constexpr int kWidth = 240;
    static constexpr int kPageCount = 39;
    static constexpr int kPageHeight = 290;
    static constexpr int kFirstPageOffset = 291;

    // `platform`, `folders` and `document` must outlive the form.
    CCorvaneView(Platform& platform, const WorkingFolders& folders, CCorvaneDoc& document,
                 QWidget* parent = nullptr);

    // The document holding the patient set the form shows and edits.
    CCorvaneDoc& Document() { return m_document; }

    // Called at the end of start-up step j to close the start-up picture.
    void SetStartUpPictureCloser(std::function<void()> close) { m_closePicture = std::move(close); }
    // Called once start-up has run; false when a step stopped it and the program must quit.
    void SetStartUpFinished(std::function<void(bool)> finished) {
        m_startUpFinished = std::move(finished);
    }
    // True once every start-up step ran, false when one stopped it, none before.
    std::optional<bool> StartUpResult() const { return m_startUpResult; }

    // The transient notice over the form (nothing is shown before the form is ready).
    void ShowNotice(const std::u16string& text, int milliseconds, bool warning);
    void HideNotice();
    bool IsReady() const { return m_ready; }

    // Scrolls the form to page p (0 to 38).
    void ShowPage(int page);
    int CurrentPage() const { return m_currentPage; }
    QWidget* Page(int page) const { return m_pages.at(static_cast<size_t>(page)); }

    DateTime StartTime() const { return m_startTime; }
    DayNumber Today() const { return m_today; }
    // The icon strips of the installation folder, loaded at start-up.
    const QImage& PatientIcons() const { return m_patientIcons; }
    const QImage& ScrollListIcons() const { return m_scrollListIcons; }

protected:
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void RunStartUp();

    // Start-up steps, in the order they run.
    void RecordStartTime(const DateTime& now) override;
    void BuildControls() override;
    bool ReadLabels() override;
    void SetToday(DayNumber today) override;
    bool ReadPreferences() override;
    bool LoadIconPictures() override;
    void StartTimers() override;
    void MarkReady() override;
    void LoadActivePatients() override;
    void ShowFirstPage() override;
    void CloseStartUpPicture() override;
    void OpenConnection() override;

    Platform& m_platform;
    const WorkingFolders& m_folders;
    CCorvaneDoc& m_document;
    QWidget* m_form = nullptr;  // the tall form, owned by the scroll area
    std::array<QWidget*, kPageCount> m_pages{};
    QLabel* m_notice = nullptr;

    bool m_startUpBegun = false;
    std::optional<bool> m_startUpResult;
    std::function<void()> m_closePicture;
    std::function<void(bool)> m_startUpFinished;

    bool m_ready = false;
    int m_currentPage = 0;
    DateTime m_startTime;
    DayNumber m_today = 0;
    QImage m_patientIcons;
    QImage m_scrollListIcons;
};

}  // namespace pondrel
