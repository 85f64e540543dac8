// Text files of the user's (the model catalogue) as lines for a text box.
//
// Such a file may be written in UTF-8 or in the Chinese Windows code page (GBK): it is taken as
// UTF-8 when it is valid UTF-8 (a byte order mark is dropped), and decoded as GBK otherwise.
// Lines end in CR LF, LF or CR; a line end at the very end of the text does not start another
// line. User-interface thread (Qt's decoders).
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>

namespace vortana {

QString DecodeLocalText(std::string_view bytes);
QStringList SplitTextLines(const QString& text);

}  // namespace vortana
