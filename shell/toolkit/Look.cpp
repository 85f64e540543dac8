#include "shell/toolkit/Look.h"

#include <QPalette>
#include <QWidget>

#include "shell/toolkit/SystemToolkit.h"

namespace vortana {

QFont SongFont(int pixelSize, bool bold) {
    QFont font(SongFamilies().front());
    font.setFamilies(SongFamilies());  // the next where the system lacks the first
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    // Bold is drawn by emboldening the regular face, as Windows does for the face the windows are
    // designed with, which has no bold of its own; so has the stand-in.
    if (bold)
        font.setStyleName(kSongRegularStyle);
    return font;
}

QFont SongMonoFont(int pixelSize) {
    QFont font(kSongMonoFamily);
    font.setPixelSize(pixelSize);
    font.setStyleHint(QFont::Monospace);
    return font;
}

void SetTextColour(QWidget& widget, const QColor& text) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Text, text);
    widget.setPalette(palette);
}

void SetBoxColours(QWidget& widget, const QColor& text, const QColor& background) {
    QPalette palette = widget.palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base, background);
        palette.setColor(group, QPalette::Button, background);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
    }
    widget.setPalette(palette);
}

void SetUpForm(QWidget& form, const QString& caption, int clientWidth, int clientHeight,
               FormFrame frame, const QFont& font) {
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (frame == FormFrame::Main)
        flags |= Qt::WindowMinimizeButtonHint;
    else
        flags |= Qt::Dialog;
    form.setWindowFlags(flags);
    form.setWindowTitle(caption);
    form.setFixedSize(clientWidth, clientHeight);
    form.setFont(font);
}

}  // namespace vortana
