#include "dialogs/qt/time_edits.hpp"

#include <QLabel>

namespace zelo::dialogs {

TimeEdits::TimeEdits(QWidget* parent, QHBoxLayout* row, const QString& name,
                     const TimeParts& time) {
    const std::array<int, 3> values = {time.hour, time.minute, time.second};
    const std::array<const char*, 3> parts = {"Hour", "Minute", "Second"};
    for (std::size_t i = 0; i < edits_.size(); ++i) {
        if (i > 0) row->addWidget(new QLabel(QStringLiteral(":"), parent));
        edits_[i] = NewIntegerEdit(name + QString::fromLatin1(parts[i]), values[i], parent);
        edits_[i]->setMaximumWidth(48);
        row->addWidget(edits_[i]);
    }
}

Refusal TimeEdits::Read(TimeParts& time) const {
    return FirstRefusal({ReadInteger(edits_[0], time.hour), ReadInteger(edits_[1], time.minute),
                         ReadInteger(edits_[2], time.second)});
}

}  // namespace zelo::dialogs
