#pragma once
#include <string>

#include "results/results_location.h"

// Why a class server connection failed, from the connection library's own functions and the
// server's error codes (SQLSTATE), never from the wording of its messages, which depends on
// the language of the machine.
enum class TServerProblem {
  None,
  NotRunning,          // nothing listens at that address
  NoAnswer,            // nothing answered in time, or the connection broke off before a word
  Starting,            // the server is starting up, shutting down or recovering
  TooManyConnections,  // the server takes no more connections now
  CaFileUnreadable,    // the certificate file the address's sslmode needs cannot be read
  Certificate,         // the server answers, but not over a connection the sslmode takes
  PasswordNeeded,      // the server asks for a password and none is known
  PasswordRefused,     // a password was given and refused
  NoSuchLogin,         // the server does not know the login, or not from this computer
  NotInClass,          // the login may not connect to this class's database
  NoSuchDatabase,      // the server has no database of that name
  Refused,             // the server turned the connection down for another reason
};

// One connection attempt made exactly as the address says (its sslmode, its certificates, its
// password or the password file), closed again: the password goes only where the connection
// itself goes, and no second attempt is made to find out why the first failed. timeoutSeconds
// applies unless the address sets connect_timeout.
struct TServerAttempt {
  TServerProblem problem = TServerProblem::None;
  std::string sqlState;  // the server's code, when it said one
  std::string details;   // libpq's own text, on one line
};
TServerAttempt TryServer(const TResultsLocation& location, int timeoutSeconds);

// Whether the problem waits for a password, not for the server: retrying gets nowhere.
bool IsPasswordProblem(TServerProblem problem);

// What happened, in a student's words, without a full stop ("The class server refused the
// password for ann"). passwordHint ends the sentence about a missing password: where to give it.
// atStart false words it for the middle of a sentence ("the class server at ...").
std::string ServerProblemText(
    TServerProblem problem, const TResultsLocation& location,
    const std::string& passwordHint = "type it into the Class server field of the results window",
    bool atStart = true);
// The login the connection is made as: the address's user, else this account's login name.
std::string ConnectionLogin(const TResultsLocation& location);
