#pragma once
#include <string>

#include "model/answer_record.h"

// Where a quiz run reports each answer. The quiz goes on whatever happens here.
class TAnswerSink {
 public:
  virtual ~TAnswerSink() = default;
  // False, with why filled in for the student, when the answer could not be kept.
  virtual bool Record(const TAnswerRecord& record, std::string& why) = 0;
};
