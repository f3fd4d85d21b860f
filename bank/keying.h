#pragma once
#include <string>

#include "model/reaction.h"

// Keys a stored answer on the answer dialog's keypad, key by key under the keypad's own rules,
// and compares what was keyed with the stored texts. False, with the first key that the keypad
// refuses (or what cannot be keyed at all), when a student could not enter the answer.
bool KeyAnswer(const TReaction& reaction, std::string& reason);
