#include "results/results_location.h"

#include <algorithm>
#include <array>

namespace {

constexpr const char* kAccepted =
    "a results file name, or a class server address postgresql://user@host/dbname";

// What PostgreSQL's connection strings take besides host, port, user, password and dbname.
// Replication connections are left out: they cannot run the store's statements.
constexpr std::array<std::string_view, 32> kParameters = {
    "hostaddr",         "passfile",          "channel_binding",
    "connect_timeout",  "client_encoding",   "options",
    "application_name", "fallback_application_name",
    "keepalives",       "keepalives_idle",   "keepalives_interval",
    "keepalives_count", "tcp_user_timeout",  "gssencmode",
    "sslmode",          "requiressl",        "sslcompression",
    "sslcert",          "sslkey",            "sslpassword",
    "sslrootcert",      "sslcrl",            "sslcrldir",
    "sslsni",           "requirepeer",       "ssl_min_protocol_version",
    "ssl_max_protocol_version", "krbsrvname", "gsslib",
    "service",          "target_session_attrs", "load_balance_hosts"};

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size()) {
      const int high = HexValue(text[i + 1]);
      const int low = HexValue(text[i + 2]);
      if (high >= 0 && low >= 0) {
        out += static_cast<char>(high * 16 + low);
        i += 2;
        continue;
      }
    }
    out += text[i];
  }
  return out;
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

bool Refuse(std::string* why, const std::string& text) {
  if (why) *why = text;
  return false;
}

}  // namespace

TResultsLocation TResultsLocation::File(std::string path) {
  TResultsLocation location;
  location.file = std::move(path);
  return location;
}

bool TResultsLocation::Parse(std::string_view text, TResultsLocation& location, std::string* why) {
  if (text.empty()) return Refuse(why, std::string("No results place is given; give ") + kAccepted + ".");
  const auto schemeEnd = text.find("://");
  const bool isFileName =
      schemeEnd == std::string_view::npos || schemeEnd == 0 ||
      !std::all_of(text.begin(), text.begin() + schemeEnd, [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '+' || c == '-' || c == '.';
      });
  if (isFileName) {
    location = File(std::string(text));
    return true;
  }
  const std::string_view scheme = text.substr(0, schemeEnd);
  if (scheme != "postgresql" && scheme != "postgres")
    return Refuse(why, "\"" + std::string(scheme) + "://\" addresses are not taken: give " +
                           kAccepted + ".");
  const auto bad = [](const std::string& problem) {
    return "The class server address cannot be read (" + problem +
           "): give postgresql://user@host/dbname.";
  };
  TResultsLocation parsed;
  parsed.server = true;
  parsed.file.clear();
  std::string_view rest = text.substr(schemeEnd + 3);
  std::string_view query;
  if (const auto mark = rest.find('?'); mark != std::string_view::npos) {
    query = rest.substr(mark + 1);
    rest = rest.substr(0, mark);
  }
  const auto slash = rest.find('/');
  if (slash == std::string_view::npos) return Refuse(why, bad("the database name is missing"));
  parsed.database = PercentDecoded(rest.substr(slash + 1));
  if (parsed.database.empty()) return Refuse(why, bad("the database name is missing"));
  std::string_view authority = rest.substr(0, slash);
  if (const auto at = authority.rfind('@'); at != std::string_view::npos) {
    std::string_view userInfo = authority.substr(0, at);
    authority = authority.substr(at + 1);
    const auto colon = userInfo.find(':');
    parsed.user = PercentDecoded(userInfo.substr(0, colon));
    if (colon != std::string_view::npos)
      parsed.password = PercentDecoded(userInfo.substr(colon + 1));
  }
  // A socket folder is percent-encoded, so a colon here always starts the port.
  if (const auto colon = authority.rfind(':'); colon != std::string_view::npos) {
    if (!ParsePort(authority.substr(colon + 1), parsed.port))
      return Refuse(why, bad("the port is not a number from 1 to 65535"));
    authority = authority.substr(0, colon);
  }
  parsed.host = PercentDecoded(authority);
  while (!query.empty()) {
    const auto amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    if (pair.empty()) continue;
    const auto eq = pair.find('=');
    const std::string key = PercentDecoded(pair.substr(0, eq));
    const std::string value =
        eq == std::string_view::npos ? std::string() : PercentDecoded(pair.substr(eq + 1));
    if (key == "host") {
      parsed.host = value;
    } else if (key == "port") {
      if (!ParsePort(value, parsed.port))
        return Refuse(why, bad("the port is not a number from 1 to 65535"));
    } else if (key == "user") {
      parsed.user = value;
    } else if (key == "password") {
      parsed.password = value;
    } else if (key == "dbname") {
      if (!value.empty()) parsed.database = value;
    } else if (std::find(kParameters.begin(), kParameters.end(), key) != kParameters.end()) {
      // The driver separates its options at semicolons, so a value cannot hold one.
      if (value.find(';') != std::string::npos)
        return Refuse(why, bad("the value of \"" + key + "\" holds a semicolon"));
      parsed.parameters.emplace_back(key, value);
    } else {
      return Refuse(why, "The class server address has a parameter \"" + key +
                             "\" that PostgreSQL does not know; take it out or correct it.");
    }
  }
  location = std::move(parsed);
  return true;
}

std::string TResultsLocation::Describe() const {
  if (!server) return file;
  return "the class server " + (host.empty() ? std::string("localhost") : host) + "/" + database;
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
  if (!socket) address += host;
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
  if (connectTimeout > 0 && !timeoutGiven)
    text += (text.empty() ? "" : " ") + std::string("connect_timeout=") +
            std::to_string(connectTimeout);
  if (!settings.empty()) text += (text.empty() ? "" : " ") + std::string("options=") + Quoted(settings);
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
