#include "harness/ui/FakeDesktop.h"

namespace vortana {

namespace {

std::optional<QString> NextAnswer(std::deque<QString>& answers) {
    if (answers.empty())
        return std::nullopt;
    const QString answer = answers.front();
    answers.pop_front();
    if (answer.isEmpty())
        return std::nullopt;
    return answer;
}

}  // namespace

std::optional<QString> FakeDesktop::ChooseOpenFile(QWidget*, const QString& lastName) {
    FileDialogStarts.append(lastName);
    if (WhileFileDialogOpen)
        WhileFileDialogOpen();
    return NextAnswer(FileAnswers);
}

std::optional<QString> FakeDesktop::ChooseSaveFile(QWidget*) {
    return NextAnswer(SaveAnswers);
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
