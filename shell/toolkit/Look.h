// The look shared by the windows: fonts, colours and the kinds of window frame.
//
// "宋体" (SimSun), the font the windows are designed with, does not exist on Linux. "AR PL UMing
// CN" (Debian's fonts-arphic-uming) stands in for it at the designed pixel sizes: a Song/Ming face
// like it, whose Latin letters and digits are half as wide as a Chinese character (6 and 12 px
// at 12 px), so every designed text fits its designed box. On Windows SimSun itself comes first
// (SystemToolkit.h). "Noto Sans Mono CJK SC", in which every Latin character has one width,
// stands wherever text stands in columns.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QWidget;

namespace vortana {

inline constexpr char kSongMonoFamily[] = "Noto Sans Mono CJK SC";
// The stand-in's one style. SimSun has no style of that name and is matched by weight instead,
// to the same effect: bold emboldens its regular face.
inline constexpr char kSongRegularStyle[] = "Light";

inline const QColor kSilver{0xC0, 0xC0, 0xC0};
inline const QColor kGrey{0x80, 0x80, 0x80};
inline const QColor kBlue{0x00, 0x00, 0xFF};

QFont SongFont(int pixelSize, bool bold = false);
QFont SongMonoFont(int pixelSize);

// Gives `widget` a text colour (labels, group captions) or a text and a background colour (edit
// and combo boxes).
void SetTextColour(QWidget& widget, const QColor& text);
void SetBoxColours(QWidget& widget, const QColor& text, const QColor& background);

// Window frames. Every window has a fixed client size; the main window has a minimize box and no
// maximize box, the dialogs a close box only.
enum class FormFrame { Main, Dialog };

// Caption, fixed client size, frame and base font of a top-level window.
void SetUpForm(QWidget& form, const QString& caption, int clientWidth, int clientHeight,
               FormFrame frame, const QFont& font);

}  // namespace vortana
