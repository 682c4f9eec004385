#include "dialogs/barcode_table.hpp"

#include "link/comm_settings.hpp"

namespace zelo::dialogs {

OnOffLetters OnOffLettersFor(int terminalType) {
    switch (terminalType) {
        case link::kEstra:
        case link::kDelmar:
        case link::kCorvo: return {'E', 'D'};
        default: return {'N', 'F'};
    }
}

std::string BuildBarcodeTable(const BarcodeChoices& choices, int terminalType) {
    const OnOffLetters letters = OnOffLettersFor(terminalType);
    const auto letter = [&](int row) { return row == 0 ? letters.on : letters.off; };
    // Full ASCII is 'F' for every model, so for the N/F models it reads
    // the same as off.
    const char code39 = choices.code39 == kCode39FullAscii ? 'F' : letter(choices.code39);

    std::string table{code39, letter(choices.interleaved25), letter(choices.codabar),
                      letter(choices.eanUpc), letter(choices.code128)};
    if (terminalType == link::kGravoHalda) return table;
    if (terminalType == link::kFenna || terminalType == link::kLanta) {
        table += letter(choices.msi);
        table += letter(choices.code11);
        table += letter(choices.code93);
    } else {
        table += letter(choices.ean128);
        table += letter(choices.code93);
        table += letter(choices.trioptic);
    }
    return table;
}

}  // namespace zelo::dialogs
