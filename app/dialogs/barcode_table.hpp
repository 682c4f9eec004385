#pragma once

#include <string>

namespace zelo::dialogs {

// The bar-code table dialog's choices. Each row is the index of its checked
// button: 0 on, 1 off; Code 39 also has 2, full ASCII. Every row starts on.
struct BarcodeChoices {
    int code39 = 0;
    int interleaved25 = 0;
    int codabar = 0;
    int eanUpc = 0;
    int code128 = 0;
    int ean128 = 0;
    int code93 = 0;
    int trioptic = 0;
    int msi = 0;
    int code11 = 0;
};

inline constexpr int kCode39FullAscii = 2;

// The letters a terminal model reads as on and off: N and F for Gravo/Halda,
// Fenna, Lanta and Brisa, E and D for Estra, Delmar and Corvo.
struct OnOffLetters {
    char on;
    char off;
};
OnOffLetters OnOffLettersFor(int terminalType);

// The bar-code table the terminal model takes: 5 characters for
// Gravo/Halda, 8 for the others; which rows reach it depends on the model.
std::string BuildBarcodeTable(const BarcodeChoices& choices, int terminalType);

}  // namespace zelo::dialogs
