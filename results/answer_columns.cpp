#include "results/answer_columns.h"

#include <QJsonArray>

#include "model/reaction.h"
#include "results/qstring_of.h"

QVariant TAnswerColumn::Value(const TAnswerRecord& record) const {
  if (text) return QStringOf(record.*text);
  if (number) return record.*number;
  return QStringOf(std::string(EndingName(record.ending)));
}

bool TAnswerColumn::Take(TAnswerRecord& record, const QVariant& value) const {
  if (text) {
    record.*text = value.toString().toStdString();
  } else if (number) {
    record.*number = value.toInt();
  } else if (!EndingFromName(value.toString().toStdString(), record.ending)) {
    record.ending = TEnding::Answer;
    return false;
  }
  return true;
}

std::string TAnswerColumn::Shown(const TAnswerRecord& record) const {
  if (number == &TAnswerRecord::questionType) return TypeLabel(record.questionType);
  if (number) return std::to_string(record.*number);
  if (text) return record.*text;
  return std::string(EndingName(record.ending));
}

std::string AnswerColumnNames(std::string_view prefix, int version) {
  std::string names;
  for (const TAnswerColumn& column : kAnswerColumns)
    if (HeldIn(column, version))
      names += (names.empty() ? "" : ", ") + std::string(prefix) + column.name;
  return names;
}

std::string AnswerPlaceholders(int version) {
  std::string marks;
  for (const TAnswerColumn& column : kAnswerColumns)
    if (HeldIn(column, version)) marks += marks.empty() ? "?" : ", ?";
  return marks;
}

std::string AnswerColumnDefinitions(bool server) {
  std::string definitions;
  for (const TAnswerColumn& column : kAnswerColumns) {
    definitions += (definitions.empty() ? "" : ", ") + std::string(column.name) +
                   (column.Integer() ? " INTEGER" : " TEXT") +
                   (column.text == &TAnswerRecord::answerId ? " PRIMARY KEY" : " NOT NULL");
    // A later version's column has a value for the answers stored before it came.
    if (column.version > 1) definitions += column.Integer() ? " DEFAULT 0" : " DEFAULT ''";
    if (server && column.text == &TAnswerRecord::login) definitions += " DEFAULT session_user";
  }
  return definitions;
}

QJsonObject AnswerJson(const TAnswerRecord& record) {
  QJsonArray coaching;
  for (const TCoachingNote& note : record.coaching)
    coaching.append(
        QJsonArray{QStringOf(std::string(CoachingStepName(note.step))), QStringOf(note.substance)});
  QJsonObject object{{"coaching", coaching}};
  for (const TAnswerColumn& column : kAnswerColumns)
    object.insert(column.key, QJsonValue::fromVariant(column.Value(record)));
  return object;
}

bool AnswerFromJson(const QJsonObject& object, TAnswerRecord& record) {
  for (const TAnswerColumn& column : kAnswerColumns) {
    const QJsonValue value = object.value(column.key);
    // A number kept as a number, a text as a text; an ending no program writes is unreadable.
    if (!column.Take(record,
                     column.Integer() ? QVariant(value.toInt()) : QVariant(value.toString())))
      return false;
  }
  record.coaching.clear();
  for (const QJsonValue& value : object.value("coaching").toArray()) {
    const QJsonArray pair = value.toArray();
    TCoachingNote note;
    if (!CoachingStepFromName(pair.at(0).toString().toStdString(), note.step)) return false;
    note.substance = pair.at(1).toString().toStdString();
    record.coaching.push_back(std::move(note));
  }
  return !record.answerId.empty();
}
