#include "shell/toolkit/TextLines.h"

#include <QStringDecoder>

#include "shell/toolkit/SystemToolkit.h"

namespace vortana {

QString DecodeLocalText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QStringDecoder utf8(QStringConverter::Utf8);
    QString text = utf8(view);
    return utf8.hasError() ? DecodeGbk(view) : text;
}

QStringList SplitTextLines(const QString& text) {
    QStringList lines;
    qsizetype begin = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(begin, i - begin));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        begin = i + 1;
    }
    if (begin < text.size())
        lines.append(text.mid(begin));
    return lines;
}

}  // namespace vortana
