#pragma once

#include <QDialog>

#include <array>

#include "settings/FormColours.h"

class QLabel;
class QRadioButton;
class QSlider;

namespace pondrel {

// A small box painted in one colour, with an optional word drawn on it in another.
class CColourSwatch final : public QWidget {
    Q_OBJECT
public:
    explicit CColourSwatch(QWidget* parent = nullptr);
    void Show(FormRgb fill, const QString& word = {}, FormRgb ink = {});
    FormRgb Fill() const { return m_fill; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    FormRgb m_fill = kPlainBackground;
    FormRgb m_ink;
    QString m_word;
};

// "Preferences : color": the colour of the field captions ("Pink", "Blue" or the RGB of three
// sliders) and the background of the form ("Wallpaper" or the RGB of three sliders). Each slider
// shows its value under it; both swatches follow every move. Moving a slider chooses "RGB" for
// its group. The dialogue starts from the settings made sane (a damaged value shows as the
// factory colour) and writes the choices back into `settings` when closed with "Ok"; closing it
// otherwise changes nothing. `settings` must outlive the dialogue.
class CColourSettingsDlg final : public QDialog {
    Q_OBJECT
public:
    explicit CColourSettingsDlg(ColourSettings& settings, QWidget* parent = nullptr);

    void accept() override;
    // What the dialogue holds now.
    ColourSettings Current() const;

private:
    struct Sliders {
        std::array<QSlider*, 3> slider{};
        std::array<QLabel*, 3> value{};
    };
    QWidget* BuildSliders(Sliders& sliders, const QString& prefix, FormRgb rgb, bool caption);
    void Repaint();

    ColourSettings& m_settings;
    QRadioButton* m_pink = nullptr;
    QRadioButton* m_blue = nullptr;
    QRadioButton* m_captionRgb = nullptr;
    QRadioButton* m_wallpaper = nullptr;
    QRadioButton* m_backgroundRgb = nullptr;
    Sliders m_captionSliders;
    Sliders m_backgroundSliders;
    CColourSwatch* m_captionSwatch = nullptr;
    CColourSwatch* m_backgroundSwatch = nullptr;
};

}  // namespace pondrel
