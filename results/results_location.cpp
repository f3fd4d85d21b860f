#include "results/results_location.h"

#include <libpq-fe.h>

#include <algorithm>
#include <memory>

namespace {

constexpr const char* kAccepted =
    "a results file name, or a class server address postgresql://user@host/dbname";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// keep: characters that may stand as they are here besides the unreserved ones ("/" in a
// socket folder given as a query value).
std::string PercentEncoded(const std::string& text, std::string_view keep = {}) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' ||
                       keep.find(static_cast<char>(c)) != std::string_view::npos;
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

bool ParsePort(std::string_view text, int& port) {
  if (text.empty() || text.size() > 5) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > 65535) return false;
  port = value;
  return true;
}

// A value in a connection string: quoted, with its quotes and backslashes escaped.
std::string Quoted(const std::string& value) {
  std::string out = "'";
  for (char c : value) {
    if (c == '\'' || c == '\\') out += '\\';
    out += c;
  }
  return out + "'";
}

// A password typed as it is, with "@", ":" or "/" in it, is encoded before libpq reads the
// address, which would otherwise end the password at the first of them. The user information
// runs to the last "@" before the query.
std::string WithUserInfoEncoded(std::string_view text) {
  const auto begin = text.find("://") + 3;
  const auto query = text.find('?', begin);
  const auto at = text.substr(0, query).rfind('@');
  if (at == std::string_view::npos || at < begin) return std::string(text);
  const std::string_view info = text.substr(begin, at - begin);
  const auto colon = info.find(':');
  const auto encode = [](std::string_view part) {
    std::string out;
    for (std::size_t i = 0; i < part.size(); ++i) {
      // "%40" stays the "@" it stands for; a "%" that encodes nothing is a "%".
      const bool escape = part[i] == '%' && i + 2 < part.size() && HexValue(part[i + 1]) >= 0 &&
                          HexValue(part[i + 2]) >= 0;
      out += escape ? std::string(1, '%') : PercentEncoded(std::string(1, part[i]));
    }
    return out;
  };
  std::string out(text.substr(0, begin));
  out += encode(info.substr(0, colon));
  if (colon != std::string_view::npos) out += ":" + encode(info.substr(colon + 1));
  out += text.substr(at);
  return out;
}

bool Refuse(std::string* why, const std::string& text) {
  if (why) *why = text;
  return false;
}

}  // namespace

// libpq's messages end in a line break and may span lines; one line for ours.
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    const bool space = c == '\n' || c == '\r' || c == '\t' || c == ' ';
    if (space) {
      if (!out.empty() && out.back() != ' ') out += ' ';
    } else {
      out += c;
    }
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

TResultsLocation TResultsLocation::File(std::string path) {
  TResultsLocation location;
  location.file = std::move(path);
  return location;
}

bool TResultsLocation::Parse(std::string_view text, TResultsLocation& location, std::string* why,
                             std::string_view where) {
  // Where the address was given, named in a refusal: after "address", or at its end.
  const std::string address =
      "The class server address" + (where.empty() ? std::string() : " " + std::string(where));
  const std::string at = where.empty() ? "." : " (" + std::string(where) + ").";
  if (text.empty())
    return Refuse(why, std::string("No results place is given; give ") + kAccepted + at);
  const auto schemeEnd = text.find("://");
  const bool isFileName = schemeEnd == std::string_view::npos || schemeEnd == 0 ||
                          !std::all_of(text.begin(), text.begin() + schemeEnd, [](char c) {
                            return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                   (c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.';
                          });
  if (isFileName) {
    location = File(std::string(text));
    return true;
  }
  const std::string_view scheme = text.substr(0, schemeEnd);
  if (scheme != "postgresql" && scheme != "postgres")
    return Refuse(
        why, "\"" + std::string(scheme) + "://\" addresses are not taken: give " + kAccepted + at);
  const auto bad = [&address](const std::string& problem) {
    return address + " cannot be read (" + problem + "): give postgresql://user@host/dbname.";
  };
  // libpq reads the address, so that it means to us what it means to the server's own tools.
  char* error = nullptr;
  const std::string uri = WithUserInfoEncoded(text);
  const std::unique_ptr<PQconninfoOption, decltype(&PQconninfoFree)> options(
      PQconninfoParse(uri.c_str(), &error), &PQconninfoFree);
  if (!options) {
    const std::string reason = error ? OneLine(error) : std::string("out of memory");
    PQfreemem(error);
    return Refuse(why, bad(reason));
  }
  TResultsLocation parsed;
  parsed.server = true;
  parsed.file.clear();
  for (const PQconninfoOption* option = options.get(); option->keyword; ++option) {
    if (!option->val) continue;
    const std::string key = option->keyword;
    const std::string value = option->val;
    if (key == "host") {
      parsed.host = value;
    } else if (key == "port") {
      if (value.empty()) continue;
      if (!ParsePort(value, parsed.port))
        return Refuse(why, bad(value.find(',') != std::string::npos
                                   ? "give one server, not several"
                                   : "the port is not a number from 1 to 65535"));
    } else if (key == "user") {
      parsed.user = value;
    } else if (key == "password") {
      parsed.password = value;
    } else if (key == "dbname") {
      parsed.database = value;
    } else if (key == "replication") {
      return Refuse(why, bad("a replication connection cannot keep answers"));
    } else if (key == "sslpassword") {
      return Refuse(why, address +
                             " gives the password of a key (sslpassword), which Tarvolin does not "
                             "keep; use a key without a password, readable only by you.");
    } else {
      // The driver separates its options at semicolons, so a value cannot hold one.
      if (value.find(';') != std::string::npos)
        return Refuse(why, bad("the value of \"" + key + "\" holds a semicolon"));
      parsed.parameters.emplace_back(key, value);
    }
  }
  if (parsed.database.empty()) return Refuse(why, bad("the database name is missing"));
  if (parsed.host.find(',') != std::string::npos)
    return Refuse(why, bad("give one server, not several"));
  location = std::move(parsed);
  return true;
}

std::string TResultsLocation::WithoutPassword(std::string_view text) {
  TResultsLocation location;
  if (Parse(text, location)) return location.Address();
  std::string out(text);
  // Not readable as a whole: what stands between "user:" and "@", and any password=, goes.
  if (const auto schemeEnd = out.find("://"); schemeEnd != std::string::npos) {
    const auto query = out.find('?', schemeEnd);
    const auto at = out.rfind('@', query == std::string::npos ? std::string::npos : query);
    if (at != std::string::npos && at > schemeEnd) {
      const auto colon = out.find(':', schemeEnd + 3);
      if (colon < at) out.replace(colon + 1, at - colon - 1, "...");
    }
  }
  for (const std::string key : {"password=", "sslpassword="}) {
    for (auto at = out.find(key); at != std::string::npos; at = out.find(key, at + key.size())) {
      const auto end = out.find('&', at);
      out.replace(at + key.size(), (end == std::string::npos ? out.size() : end) - at - key.size(),
                  "...");
    }
  }
  return out;
}

std::string TResultsLocation::Describe() const {
  return server ? "the " + ServerPlace() : file;
}

std::string TResultsLocation::DescribeAtStart() const {
  return server ? "The " + ServerPlace() : file;
}

std::string TResultsLocation::ServerPlace() const {
  return "class server " + (host.empty() ? std::string("localhost") : host) + "/" + database;
}

std::string TResultsLocation::HostAndPort() const {
  return (host.empty() ? std::string("localhost") : host) + ":" +
         std::to_string(port > 0 ? port : 5432);
}

std::string TResultsLocation::Address() const {
  if (!server) return file;
  std::string address = "postgresql://";
  if (!user.empty()) address += PercentEncoded(user) + "@";
  const bool socket = !host.empty() && host.front() == '/';
  // An IPv6 address stands in brackets, so that its colons are not read as the port's.
  if (!socket)
    address += host.find(':') != std::string::npos ? "[" + host + "]" : PercentEncoded(host);
  if (port > 0 && !socket) address += ":" + std::to_string(port);
  address += "/" + PercentEncoded(database);
  std::string query;
  if (socket) {
    query += "host=" + PercentEncoded(host, "/");
    if (port > 0) query += "&port=" + std::to_string(port);
  }
  for (const auto& [key, value] : parameters)
    query += (query.empty() ? "" : "&") + key + "=" + PercentEncoded(value, "/:");
  return query.empty() ? address : address + "?" + query;
}

std::string TResultsLocation::ConnectOptions(const std::string& serverSettings,
                                             int connectTimeout) const {
  std::string text;
  std::string settings = serverSettings;
  bool timeoutGiven = false;
  for (const auto& [key, value] : parameters) {
    if (key == "options") {
      settings += (settings.empty() ? "" : " ") + value;
      continue;
    }
    timeoutGiven = timeoutGiven || key == "connect_timeout";
    text += (text.empty() ? "" : " ") + key + "=" + Quoted(value);
  }
  // A server that goes silent is found out in seconds, not when the system gives up on it.
  for (const auto& [key, value] : {std::pair<const char*, const char*>{"keepalives_idle", "5"},
                                   {"keepalives_interval", "2"},
                                   {"keepalives_count", "3"},
                                   {"tcp_user_timeout", "15000"}}) {
    const bool given = std::any_of(parameters.begin(), parameters.end(),
                                   [&](const auto& p) { return p.first == key; });
    if (!given) text += (text.empty() ? "" : " ") + std::string(key) + "=" + value;
  }
  if (connectTimeout > 0 && !timeoutGiven)
    text += (text.empty() ? "" : " ") + std::string("connect_timeout=") +
            std::to_string(connectTimeout);
  if (!settings.empty())
    text += (text.empty() ? "" : " ") + std::string("options=") + Quoted(settings);
  return text;
}

std::string TResultsLocation::ConnectionString() const {
  std::string text = "dbname=" + Quoted(database);
  if (!host.empty()) text += " host=" + Quoted(host);
  if (port > 0) text += " port=" + std::to_string(port);
  if (!user.empty()) text += " user=" + Quoted(user);
  if (!password.empty()) text += " password=" + Quoted(password);
  const std::string options = ConnectOptions();
  return options.empty() ? text : text + " " + options;
}
