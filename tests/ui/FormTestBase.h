#pragma once

// What the record form's GUI tests share: a device folder prepared as pondrel-tool init-device
// does, the program started on it, and a user's taps and keys on the form.

#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <filesystem>
#include <memory>

#include "GuiDriver.h"
#include "TestDevice.h"
#include "demo/DemoPatients.h"
#include "journal/ui/CSectionEdit.h"
#include "layout/ui/CFieldWindows.h"
#include "platform/Clock.h"
#include "platform/HostFileSystem.h"
#include "platform/ui/QtText.h"
#include "records/CCorvaneDoc.h"
#include "records/PatientFileLoader.h"
#include "records/PatientRecord.h"
#include "records/WorkingFolders.h"
#include "ui/frame/CCorvaneView.h"
#include "ui/frame/CMainFrame.h"
#include "ui/pages/FieldPages.h"
#include "ui/app/PondrelApplication.h"

namespace pondrel::test {

class FormTestBase {
protected:
    void Prepare() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_device = PrepareTestDevice(*m_dir);
    }
    void Finish() {
        m_program.reset();
        m_dir.reset();
    }
    // Starts the program on the device (again, after a first run: a restart).
    bool Start() {
        m_program.reset();
        ProgramOptions options;
        options.device = m_device;
        m_program = std::make_unique<PondrelApplication>(options);
        if (!m_program->InitInstance()) return false;
        if (!QTest::qWaitFor([&] { return View().StartUpResult().has_value(); })) return false;
        if (!*View().StartUpResult()) return false;
        m_program->Frame()->activateWindow();
        return QTest::qWaitFor([&] { return m_program->Frame()->isActiveWindow(); });
    }
    // Demo patients of the demo generator, their stays running up to today.
    int WriteDemo(int count) {
        HostFileSystem files(m_device);
        DemoOptions options;
        options.patients = count;
        options.today = SystemClock().Now();
        return WriteDemoPatients(files, WorkingFolders::kActivePatients, options).written;
    }

    CCorvaneView& View() { return *m_program->Frame()->View(); }
    PatientSet& Patients() { return m_program->Document().Patients(); }
    FieldPages& Fields() { return *View().Find<FieldPages>(); }
    CSectionEdit* Window(int field) { return Fields().Windows().Edit(field); }
    QString Shown(int field) {
        return Window(field) ? ToQString(Window(field)->Text()) : QString();
    }
    template <typename T>
    T* Named(const QString& name) {
        return test::Child<T>(*m_program->Frame(), name);
    }
    bool Tap(const QString& name) { return test::Click(*m_program->Frame(), name); }
    bool ChooseMenu(const QString& text) {
        if (!View().MainMenuOpen() && !Tap(QStringLiteral("mainMenuButton"))) return false;
        auto* menu = Named<QListWidget>(QStringLiteral("mainMenu"));
        return menu && test::ClickRow(*menu, text);
    }
    QString NoticeText() {
        auto* notice = Named<QLabel>(QStringLiteral("notice"));
        return notice && notice->isVisible() ? notice->text() : QString();
    }
    // A tap into a field window, the caret to the end, then the keys as a user types them.
    bool TypeInto(int field, const QString& text) {
        CSectionEdit* edit = Window(field);
        if (!edit || !edit->isVisible()) {
            qWarning("field %d has no window in view", field);
            return false;
        }
        // A message box answered before may have taken the activation away.
        m_program->Frame()->activateWindow();
        if (!QTest::qWaitFor([&] { return m_program->Frame()->isActiveWindow(); })) return false;
        QTest::mouseClick(edit->viewport(), Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return edit->hasFocus(); })) return false;
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        return true;
    }
    int PageOf(QWidget* widget) {
        for (int page = 0; page < CCorvaneView::kPageCount; ++page) {
            if (widget && View().Page(page) == widget->parentWidget()) return page;
        }
        return -1;
    }
    PatientRecord ReadBack(const std::u16string& fileName) {
        HostFileSystem files(m_device);
        PatientRecord record;
        const LoadResult result =
            LoadPatientFile(files, WorkingFolders::ActiveFile(fileName), record);
        if (!result.Ok()) qWarning("cannot read back: %s", LoadFailureReason(result).c_str());
        return record;
    }
    std::filesystem::path Installation() const { return m_device / "Program files" / "Pondrel"; }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::filesystem::path m_device;
    std::unique_ptr<PondrelApplication> m_program;
};

}  // namespace pondrel::test
