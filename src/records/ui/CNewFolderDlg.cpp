#include "records/ui/CNewFolderDlg.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/ui/DialogStyle.h"

namespace pondrel {

CNewFolderDlg::CNewFolderDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("newFolderDialog");
    setWindowTitle("New patient folder");
    FitHandheldForm(this);
    auto* layout = new QVBoxLayout(this);
    auto* text = new QLabel("Select between a new hospitalization or a new ambulatory folder :", this);
    text->setWordWrap(true);
    text->setMinimumHeight(40);
    layout->addWidget(text);
    const auto add = [this, layout](const char* name, const char* caption, std::u16string type) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(name);
        button->setAutoDefault(false);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this, type] {
            m_type = type;
            if (type.empty()) {
                reject();
            } else {
                accept();
            }
        });
    };
    add("hospitalizationButton", "Hospitalization", u"Hosp");
    add("ambulatoryButton", "Ambulatory", u"Ambu");
    add("cancelButton", "Cancel", u"");
    layout->addStretch();
    resize(kFormWidth, 180);
}

std::u16string CNewFolderDlg::Ask(QWidget* parent) {
    CNewFolderDlg dialog(parent);
    dialog.exec();
    return dialog.Type();
}

}  // namespace pondrel
