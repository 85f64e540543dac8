#include "image/ui/HexView.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <memory>
#include <stdexcept>
#include <vector>

#include "image/ImageFileWriter.h"
#include "image/ListingImage.h"
#include "shell/toolkit/Handler.h"
#include "shell/toolkit/Look.h"
#include "shell/toolkit/SystemToolkit.h"

namespace vortana {
namespace {

constexpr int kViewPixels = 19;
constexpr char kColumnHeader[] = "XXXX:: 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F    ";
constexpr char kSaveEntry[] = "保存...";

}  // namespace

HexView::HexView(Desktop& desktop, const Design& design) : desktop_(desktop) {
    const QFont font = SongMonoFont(kViewPixels);
    SetUpForm(*this, QString::fromUtf8(design.caption), design.clientWidth, design.clientHeight,
              FormFrame::Dialog, font);
    move(design.screenPlace);

    Label1 = new QLabel(kColumnHeader, this);
    Label1->setObjectName("Label1");
    Label1->setFont(font);
    Label1->setGeometry(design.label1Place);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName("Memo1");
    Memo1->setFont(font);
    Memo1->setGeometry(design.memo1Place);
    Memo1->setReadOnly(true);
    // Rows are never wrapped: a row is one line of the listing, whatever the window's width.
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setUndoRedoEnabled(false);
    SetBoxColours(*Memo1, Qt::black, kSilver);
    Memo1->installEventFilter(this);
    Memo1->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(Memo1, &QWidget::customContextMenuRequested, this, [this](QPoint place) {
        const std::unique_ptr<QMenu> menu(CreateMemoMenu());
        menu->exec(Memo1->viewport()->mapToGlobal(place));
    });
}

QMenu* HexView::CreateMemoMenu() {
    QMenu* menu = Memo1->createStandardContextMenu();
    menu->addSeparator();
    QAction* save = menu->addAction(QString::fromUtf8(kSaveEntry));
    ConnectHandler(desktop_, save, &QAction::triggered, this, &HexView::SaveListing);
    return menu;
}

void HexView::SaveListing() {
    const std::optional<QString> chosen = desktop_.ChooseSaveFile(this);
    if (!chosen)
        return;
    const std::string path = LocalPath(*chosen);
    const ImageFileFormatChoice choice = ImageFileFormatFor(path);
    if (!choice.format)
        throw std::invalid_argument(choice.refusal);
    std::vector<std::string> rows;
    for (const QString& row : Rows())
        rows.push_back(row.toStdString());
    WriteImageFile(path, *choice.format, ListingImage(rows));
}

void HexView::ClearRows() {
    Memo1->clear();
}

void HexView::AppendRows(std::span<const std::string> rows) {
    if (rows.empty())
        return;
    std::string text;
    text.reserve(rows.size() * (rows.front().size() + 1));
    for (const std::string& row : rows) {
        if (!text.empty())
            text += '\n';
        text += row;
    }
    // appendPlainText adds one block per line in a single edit, where inserting line by line
    // would lay out the document once per row.
    Memo1->appendPlainText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

QStringList HexView::Rows() const {
    const QString text = Memo1->toPlainText();
    return text.isEmpty() ? QStringList{} : text.split('\n');
}

bool HexView::HandleMemoKey(const QKeyEvent& key) {
    if (key.key() != Qt::Key_A || !(key.modifiers() & Qt::ControlModifier))
        return false;
    // The view alone decides what a Ctrl+A does: the text box's own select-all binding would also
    // select with a mouse button held. Any other key held with Ctrl makes it do nothing.
    if (key.modifiers() == Qt::ControlModifier && QGuiApplication::mouseButtons() == Qt::NoButton)
        Memo1->selectAll();
    return true;
}

bool HexView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::KeyPress)
        return MemoKeyDown(static_cast<const QKeyEvent&>(*event));
    return CloseBoxDialog::eventFilter(watched, event);
}

}  // namespace vortana
