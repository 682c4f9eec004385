// The seven terminal models and what tells them apart on the line: the
// identity and firmware texts they answer with, the digit layout of their
// memory-size reply, and whether they carry an EMS drive.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace termsim {

enum class Model : int {
    Gravo = 0,  // also sold as Halda
    Fenna = 1,
    Lanta = 2,
    Estra = 3,
    Delmar = 4,
    Corvo = 5,
    Brisa = 6,
};

// How the reply to the memory-size request "G" spells its numbers (in
// kilobytes). The host tells the layouts apart by the reply's length alone.
enum class SizeLayout {
    ThreeDigits,     // total, program area, free: 3 digits each
    FourDigits,      // total, program area, free: 4 digits each
    ThreeDigitsEms,  // the three above in 3 digits, then EMS total and free in 4
};

struct ModelProfile {
    Model model;
    std::string_view name;
    // The host picks the model from characters 3 and 4 of this text.
    std::string_view idText;
    std::string_view versionText;
    SizeLayout sizeLayout;
    bool hasEms;
    unsigned ramKb;
    unsigned flashKb;
    unsigned emsKb;
};

const ModelProfile& profileOf(Model model);

// A model from its number ("0" to "6") or its name, case-insensitive
// ("Gravo", "Halda", "Brisa", ...); nullopt for anything else.
std::optional<Model> parseModel(std::string_view text);

// The model a host derives from a terminal-id text: character 4 (from 1)
// '5' gives Gravo, '8' Fenna; otherwise character 3 '7' gives Estra, '6'
// Corvo; anything else Gravo. Kept here so tests can hold every profile's
// id text against the rule the host applies.
Model modelDetectedFromId(std::string_view idText);

}  // namespace termsim
