#pragma once

#include <QString>

#include "mainform/PageNavigation.h"

class QImage;
class QWidget;

namespace pondrel {

class CCorvaneDoc;
class FileDialogs;
class LocationList;
class MainFormController;
class PageNavigation;
struct Labels;
struct Platform;
struct Preferences;
struct WorkingFolders;

// What a page of the main form may use of the form that carries it (CCorvaneView in the
// program). Pages know this and nothing of the form's widget class; the form knows the pages
// only as PagePlugin (PagePlugin.h) through the one list of PageList.cpp.
class PageHost {
public:
    static constexpr int kWidth = 240;       // a page band is as wide as the form
    static constexpr int kPageHeight = 290;  // and this high: one page shows at a time
    static constexpr int kPageCount = pondrel::kPageCount;

    // The widget of the form: the parent of pop-up lists and dialogues, the window they sit on.
    virtual QWidget& Widget() = 0;
    // The record on screen, the pages, the commands on the set.
    virtual MainFormController& Controller() = 0;
    virtual CCorvaneDoc& Document() = 0;
    virtual Platform& GetPlatform() = 0;
    virtual const WorkingFolders& Folders() const = 0;
    virtual FileDialogs& Dialogs() = 0;
    virtual const Labels& GetLabels() const = 0;
    virtual Preferences& GetPreferences() = 0;
    virtual LocationList& Locations() = 0;
    virtual const PageNavigation& Navigation() const = 0;
    // The patients' icon strip of the installation folder (empty before start-up loads it).
    virtual const QImage& PatientIcons() const = 0;

    // Puts `widget` into page `page`'s band, filling it; the form owns it from then on.
    virtual void InstallPage(int page, QWidget* widget) = 0;
    // The band of page `page` (0 to 38).
    virtual QWidget* Page(int page) const = 0;
    virtual QString PageName(int page) const = 0;
    // Shows page `page`: the page being left finishes its work first.
    virtual void ShowPage(int page) = 0;
    virtual int CurrentPage() const = 0;
    // The page flags, names or positions changed: the page order and the page list follow.
    virtual void RebuildPageOrder() = 0;
    // Closes the pop-up lists of the command bar (main menu, page list, patient list).
    virtual void ClosePopups() = 0;
    virtual void HideNotice() = 0;

protected:
    PageHost() = default;
    virtual ~PageHost() = default;
    PageHost(const PageHost&) = default;
    PageHost& operator=(const PageHost&) = default;
};

}  // namespace pondrel
