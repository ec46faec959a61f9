#pragma once

#include "mainform/MainMenu.h"
#include "settings/ui/CPreferencesDlg.h"

class QImage;
class QWidget;

namespace pondrel {

class CConnectionIndicators;
struct Labels;
struct Preferences;
struct PreferencesOutcome;

// One piece of the main form that plugs in: a page or a group of pages (or a tool of the pages,
// such as the windows editor) built by the list of PageList.cpp. What it shows of the record
// it shows through the FormPage (src/mainform/FormPage.h) it registers with the controller for
// each of its page numbers; what the form tells every piece on its way (labels read,
// preferences read, written or changed, start, focus, commands) comes through these hooks. A
// hook the piece does not need does nothing.
class PagePlugin {
public:
    virtual ~PagePlugin() = default;

    // The labels file was read.
    virtual void SetLabels(const Labels& /*labels*/) {}
    // The preferences file was read at start-up.
    virtual void ApplyPreferences(const Preferences& /*preferences*/) {}
    // The Preferences dialogue closed and its outcome was applied to `preferences`.
    virtual void ApplyOutcome(const PreferencesOutcome& /*outcome*/,
                              const Preferences& /*preferences*/) {}
    // Before the preferences file is written: what the piece keeps there.
    virtual void StorePreferences(Preferences& /*preferences*/) const {}
    // The settings dialogues the piece adds to the Preferences dialogue.
    virtual void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& /*dialogues*/) {}
    // The icon pictures of the installation folder were loaded.
    virtual void SetPatientIcons(const QImage& /*icons*/) {}
    // The last step of start-up: the patients are loaded and the first page is shown.
    virtual void Start() {}
    // The lights of the command bar (null: none).
    virtual void AttachIndicators(CConnectionIndicators* /*indicators*/) {}
    // A modal dialogue of the program opened or closed.
    virtual void SetShowingDialog(bool /*showing*/) {}
    // A tap on the notice line; true when the piece answered it.
    virtual bool OnNoticeTapped() { return false; }
    // The notice went away by itself.
    virtual void OnNoticeExpired() {}
    // Tab or Shift+Tab moved the focus from `before` to `now`.
    virtual void FocusMoved(QWidget* /*before*/, QWidget* /*now*/) {}
    // Page `page` was scrolled into view.
    virtual void PageShown(int /*page*/) {}
    // A main menu command the form does not carry out itself; true when the piece ran it.
    virtual bool RunCommand(MenuCommand /*command*/) { return false; }

protected:
    PagePlugin() = default;
    PagePlugin(const PagePlugin&) = default;
    PagePlugin& operator=(const PagePlugin&) = default;
};

}  // namespace pondrel
