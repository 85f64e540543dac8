// ControlDesign: the rows of a window's design tables for its labels and edit boxes, and the
// functions that make the controls from them. A row binds its control to the window's member by
// pointer, so a misspelt control does not compile; the name is the control's object name.
//
// Places are left, top, width, height of the window's client area; sizes are font pixel sizes
// of the Song face. The window owns the controls made (they are its children). User-interface
// thread only.
#pragma once

#include <QColor>
#include <QRect>
#include <QString>
#include <span>

#include "shell/toolkit/Look.h"
#include "shell/toolkit/TEdit.h"
#include "shell/toolkit/TLabel.h"

namespace vortana {

class Desktop;

template <class Form>
struct LabelDesign {
    TLabel* Form::*control;
    const char* name;
    QRect place;
    const char* caption;
    int pixels;
    QColor colour;
    bool bold = false;
};

template <class Form>
struct EditDesign {
    TEdit* Form::*control;
    const char* name;
    QRect place;
    int pixels;
    bool readOnly = false;
    int maxLength = 0;           // 0: no limit
    const char* text = nullptr;  // nullptr: left empty for the window to fill
    QColor textColour{};         // both invalid: the style's colours
    QColor background{};
    void (Form::*keyPress)(QChar&) = nullptr;  // the box's key filter; nullptr: none
};

template <class Form>
void CreateLabels(Desktop& desktop, Form& form, std::span<const LabelDesign<Form>> designs) {
    for (const LabelDesign<Form>& design : designs) {
        form.*design.control = CreateDesignedLabel(
            desktop, &form, design.name, design.place, QString::fromUtf8(design.caption),
            SongFont(design.pixels, design.bold), design.colour);
    }
}

template <class Form>
void CreateEdits(Desktop& desktop, Form& form, std::span<const EditDesign<Form>> designs) {
    for (const EditDesign<Form>& design : designs) {
        auto* edit = new TEdit(desktop, &form);
        edit->setObjectName(design.name);
        edit->setGeometry(design.place);
        edit->setFont(SongFont(design.pixels));
        edit->setReadOnly(design.readOnly);
        if (design.maxLength > 0)
            edit->setMaxLength(design.maxLength);
        if (design.text != nullptr)
            edit->SetText(QString::fromUtf8(design.text));
        if (design.background.isValid())
            SetBoxColours(*edit, design.textColour, design.background);
        if (design.keyPress != nullptr) {
            edit->OnKeyPress = [&form, handler = design.keyPress](QChar& key) {
                (form.*handler)(key);
            };
        }
        form.*design.control = edit;
    }
}

}  // namespace vortana
