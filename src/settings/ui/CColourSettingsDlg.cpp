#include "settings/ui/CColourSettingsDlg.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "platform/ui/DialogStyle.h"

namespace pondrel {

namespace {

constexpr int kSliderHeight = 64;
constexpr int kSwatchWidth = 58;
constexpr int kSwatchHeight = 24;

QColor ToQColor(FormRgb rgb) {
    return QColor(rgb.red, rgb.green, rgb.blue);
}

}  // namespace

CColourSwatch::CColourSwatch(QWidget* parent) : QWidget(parent) {
    setFixedSize(kSwatchWidth, kSwatchHeight);
}

void CColourSwatch::Show(FormRgb fill, const QString& word, FormRgb ink) {
    m_fill = fill;
    m_word = word;
    m_ink = ink;
    update();
}

void CColourSwatch::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(m_fill));
    if (!m_word.isEmpty()) {
        painter.setPen(ToQColor(m_ink));
        painter.drawText(rect(), Qt::AlignCenter, m_word);
    }
    painter.setPen(QColor(90, 90, 110));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

CColourSettingsDlg::CColourSettingsDlg(ColourSettings& settings, QWidget* parent)
    : QDialog(parent), m_settings(settings) {
    setObjectName("colourSettingsDialog");
    setWindowTitle("Preferences : color");
    FitHandheldForm(this);
    const ColourSettings shown = SaneColourSettings(settings);

    // Labels: the captions of the fields.
    auto* labels = new QGroupBox("Labels", this);
    labels->setObjectName("labelsGroup");
    m_pink = new QRadioButton("Pink", labels);
    m_pink->setObjectName("pinkRadio");
    m_blue = new QRadioButton("Blue", labels);
    m_blue->setObjectName("blueRadio");
    m_captionRgb = new QRadioButton("RGB", labels);
    m_captionRgb->setObjectName("captionRgbRadio");
    auto* captionChoices = new QButtonGroup(labels);
    captionChoices->addButton(m_pink, static_cast<int>(CaptionChoice::Pink));
    captionChoices->addButton(m_blue, static_cast<int>(CaptionChoice::Blue));
    captionChoices->addButton(m_captionRgb, static_cast<int>(CaptionChoice::Rgb));
    captionChoices->button(shown.captionChoice)->setChecked(true);
    m_captionSwatch = new CColourSwatch(labels);
    m_captionSwatch->setObjectName("captionSwatch");
    {
        auto* choices = new QVBoxLayout;
        choices->setSpacing(2);
        choices->addWidget(m_pink);
        choices->addWidget(m_blue);
        choices->addWidget(m_captionRgb);
        choices->addWidget(m_captionSwatch);
        choices->addStretch(1);
        auto* row = new QHBoxLayout(labels);
        row->setContentsMargins(4, 2, 4, 2);
        row->addLayout(choices);
        row->addWidget(BuildSliders(m_captionSliders, "caption", CaptionRgb(shown), true));
    }

    // Background: the wallpaper or a plain colour.
    auto* background = new QGroupBox("Background", this);
    background->setObjectName("backgroundGroup");
    m_wallpaper = new QRadioButton("Wallpaper", background);
    m_wallpaper->setObjectName("wallpaperRadio");
    m_backgroundRgb = new QRadioButton("RGB", background);
    m_backgroundRgb->setObjectName("backgroundRgbRadio");
    auto* backgroundChoices = new QButtonGroup(background);
    backgroundChoices->addButton(m_wallpaper, static_cast<int>(BackgroundChoice::Wallpaper));
    backgroundChoices->addButton(m_backgroundRgb, static_cast<int>(BackgroundChoice::Rgb));
    backgroundChoices->button(shown.backgroundFlag)->setChecked(true);
    m_backgroundSwatch = new CColourSwatch(background);
    m_backgroundSwatch->setObjectName("backgroundSwatch");
    {
        auto* choices = new QVBoxLayout;
        choices->setSpacing(2);
        choices->addWidget(m_wallpaper);
        choices->addWidget(m_backgroundRgb);
        choices->addWidget(m_backgroundSwatch);
        choices->addStretch(1);
        auto* row = new QHBoxLayout(background);
        row->setContentsMargins(4, 2, 4, 2);
        row->addLayout(choices);
        row->addWidget(
            BuildSliders(m_backgroundSliders, "background", BackgroundRgb(shown), false));
    }

    auto* ok = new QPushButton("Ok", this);
    ok->setObjectName("okButton");
    ok->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(labels);
    layout->addWidget(background);
    layout->addStretch(1);
    layout->addWidget(ok, 0, Qt::AlignRight);

    connect(captionChoices, &QButtonGroup::idToggled, this, [this] { Repaint(); });
    connect(backgroundChoices, &QButtonGroup::idToggled, this, [this] { Repaint(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    Repaint();
}

QWidget* CColourSettingsDlg::BuildSliders(Sliders& sliders, const QString& prefix, FormRgb rgb,
                                          bool caption) {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(1);
    static constexpr const char* kLetters[3] = {"R", "G", "B"};
    const int values[3] = {rgb.red, rgb.green, rgb.blue};
    for (int i = 0; i < 3; ++i) {
        auto* letter = new QLabel(QString::fromLatin1(kLetters[i]), box);
        letter->setAlignment(Qt::AlignCenter);
        auto* slider = new QSlider(Qt::Vertical, box);
        slider->setObjectName(prefix + QString::fromLatin1(kLetters[i]) + "Slider");
        slider->setRange(0, kColourMax);
        slider->setValue(values[i]);
        slider->setFixedHeight(kSliderHeight);
        auto* value = new QLabel(QString::number(values[i]), box);
        value->setObjectName(prefix + QString::fromLatin1(kLetters[i]) + "Value");
        value->setAlignment(Qt::AlignCenter);
        value->setMinimumWidth(22);
        grid->addWidget(letter, 0, i);
        grid->addWidget(slider, 1, i, Qt::AlignHCenter);
        grid->addWidget(value, 2, i);
        sliders.slider[static_cast<size_t>(i)] = slider;
        sliders.value[static_cast<size_t>(i)] = value;
        connect(slider, &QSlider::valueChanged, this, [this, value, caption](int v) {
            value->setText(QString::number(v));
            // Moving a slider asks for that colour.
            (caption ? m_captionRgb : m_backgroundRgb)->setChecked(true);
            Repaint();
        });
    }
    return box;
}

ColourSettings CColourSettingsDlg::Current() const {
    ColourSettings s;
    s.captionChoice = static_cast<int>(m_blue->isChecked()         ? CaptionChoice::Blue
                                       : m_captionRgb->isChecked() ? CaptionChoice::Rgb
                                                                   : CaptionChoice::Pink);
    SetCaptionRgb(s, {m_captionSliders.slider[0]->value(), m_captionSliders.slider[1]->value(),
                      m_captionSliders.slider[2]->value()});
    s.backgroundFlag = static_cast<int>(m_backgroundRgb->isChecked() ? BackgroundChoice::Rgb
                                                                     : BackgroundChoice::Wallpaper);
    SetBackgroundRgb(
        s, {m_backgroundSliders.slider[0]->value(), m_backgroundSliders.slider[1]->value(),
            m_backgroundSliders.slider[2]->value()});
    return s;
}

void CColourSettingsDlg::Repaint() {
    const ColourSettings s = Current();
    const FormColours colours = ResolveFormColours(s);
    // The caption swatch shows a caption on the background chosen, the background swatch the
    // colour of its sliders.
    m_captionSwatch->Show(colours.background, QStringLiteral("Name"), colours.captions);
    m_backgroundSwatch->Show(BackgroundRgb(s));
}

void CColourSettingsDlg::accept() {
    m_settings = Current();
    QDialog::accept();
}

}  // namespace pondrel
