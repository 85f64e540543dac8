#include "harness/ui/FakeDesktop.h"

namespace vortana {

std::optional<QString> FakeDesktop::ChooseOpenFile(QWidget*, const QString& lastName) {
    FileDialogStarts.append(lastName);
    if (WhileFileDialogOpen)
        WhileFileDialogOpen();
    if (FileAnswers.empty())
        return std::nullopt;
    const QString answer = FileAnswers.front();
    FileAnswers.pop_front();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

void FakeDesktop::ShowMessage(const QString& text) {
    Messages.append(text);
    if (WhileMessageOpen)
        WhileMessageOpen(text);
}

void FakeDesktop::ShowErrorBox(const QString& text) {
    Errors.append(text);
    if (WhileErrorBoxOpen)
        WhileErrorBoxOpen();
}

}  // namespace vortana
