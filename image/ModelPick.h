// ModelPick: what a double-clicked line of the model catalogue (MCUtype.txt) means, decided
// before anything changes.
//
// PickModel cuts the line's five fields by column and checks the line whole. It returns either
// the pick (the seven session fields and the texts of the main window's model box Edit1 and
// address box Edit2) or a refusal message; a refused line must change nothing: no session
// field, box or button. The window applies a pick by storing it (ApplyTo), setting Edit1 and
// Edit2, enabling Button2, Button3 and Button7 and disabling Button4, Button5 and Button6.
//
// Columns are 1-based and counted as the Chinese Windows code page counts them, whichever
// encoding the catalogue file was in: an ASCII character takes one column, any other character
// two. The line comes in as UTF-8 with or without its line end. A field is cut by position
// alone, without trimming; a line shorter than a field gives it only the characters that exist.
// A double-width character belongs to the field that holds its first column and is then taken
// whole: one that starts on a field's last column is kept, one whose second column is a field's
// first column is left out. So no field ever holds half a character, and a name running one
// column past its field still shows whole.
//
// A line is refused when its model code is not exactly one of the five (so "0xb0" in lower case
// is refused rather than setting the model box beside the sizes of the previous pick), its
// size digits are not a decimal number or are followed by a third digit ("128K"), or the image
// size is not 4 to 64 KiB in whole 4 KiB steps.
//
// Qt-free; pure functions, safe on any thread.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "shell/SessionState.h"

namespace vortana {

struct ModelPick {
    std::string ModelName;      // columns 4 to 18
    std::string FlashStart;     // columns 25 to 28
    std::string FlashEnd;       // columns 32 to 35
    std::string FlashSizeText;  // columns 45 to 48
    std::string ModelCode;      // columns 55 to 58
    std::string FlashSizeK;     // the size digits, plus 4 for a model with an additional window
    std::uint32_t ImageSize = 0;
    std::string Edit1;  // model box text
    std::string Edit2;  // address box text

    // Stores the seven model fields; the rest of the session is left alone.
    void ApplyTo(SessionState& session) const;
};

struct ModelPickOutcome {
    std::optional<ModelPick> pick;  // empty when the line is refused
    std::string refusal;            // why, for a message box; empty when picked
};

ModelPickOutcome PickModel(std::string_view line);

}  // namespace vortana
