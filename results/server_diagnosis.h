#pragma once
#include <string>

#include "results/results_location.h"

// Why a class server connection failed, worked out from the connection library's own answers
// (whether the server answers at all, whether a password was asked for or used), never from
// the wording of its messages, which depends on the language of the machine.
enum class TServerProblem {
  NoAnswer,        // nothing answers at that address, or the server is starting or stopping
  Certificate,     // the server answers, but not over a connection the address's sslmode takes
  PasswordNeeded,  // the server asks for a password and none is known
  PasswordRefused, // a password was given and refused
  Refused,         // the server turned the login or the database down
};

TServerProblem DiagnoseServer(const TResultsLocation& location);

// What happened, in a student's words, without a full stop ("The class server refused the
// password for ann").
std::string ServerProblemText(TServerProblem problem, const TResultsLocation& location);
// The login the connection is made as: the address's user, else this account's login name.
std::string ConnectionLogin(const TResultsLocation& location);
