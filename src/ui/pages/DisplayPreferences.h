#pragma once

#include "ui/pages/PagePlugin.h"

namespace pondrel {

class PageHost;

// The look of the form in the Preferences dialogue: for now its "Clear print folder" button.
class DisplayPreferences final : public PagePlugin {
public:
    // `view` must outlive the piece.
    explicit DisplayPreferences(PageHost& view) : m_view(view) {}
    void AddPreferencesDialogues(CPreferencesDlg::PluggedDialogues& dialogues) override;

private:
    PageHost& m_view;
};

}  // namespace pondrel
