#pragma once

#include <QHBoxLayout>
#include <QLineEdit>
#include <QWidget>
#include <array>

#include "dialogs/qt/dialog_kit.hpp"
#include "dialogs/time_fields.hpp"

namespace zelo::dialogs {

// Three integer edits for a time, named `name` + "Hour", "Minute", "Second",
// laid out in one row after `caption`.
class TimeEdits {
public:
    TimeEdits(QWidget* parent, QHBoxLayout* row, const QString& name, const TimeParts& time);
    // Reads the three edits; a refusal when one is not an integer. The
    // ranges are checked by the form.
    Refusal Read(TimeParts& time) const;

private:
    std::array<QLineEdit*, 3> edits_{};
};

}  // namespace zelo::dialogs
