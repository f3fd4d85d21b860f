#include "results/results_location.h"

namespace {

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

}  // namespace

TResultsLocation TResultsLocation::File(std::string path) {
  TResultsLocation location;
  location.file = std::move(path);
  return location;
}

bool TResultsLocation::Parse(std::string_view text, TResultsLocation& location) {
  for (std::string_view scheme : {"postgresql://", "postgres://"}) {
    if (text.substr(0, scheme.size()) != scheme) continue;
    TResultsLocation parsed;
    parsed.server = true;
    parsed.file.clear();
    std::string_view rest = text.substr(scheme.size());
    std::string_view query;
    if (const auto mark = rest.find('?'); mark != std::string_view::npos) {
      query = rest.substr(mark + 1);
      rest = rest.substr(0, mark);
    }
    const auto slash = rest.find('/');
    if (slash == std::string_view::npos) return false;
    parsed.database = PercentDecoded(rest.substr(slash + 1));
    if (parsed.database.empty()) return false;
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
      if (!ParsePort(authority.substr(colon + 1), parsed.port)) return false;
      authority = authority.substr(0, colon);
    }
    parsed.host = PercentDecoded(authority);
    while (!query.empty()) {
      const auto amp = query.find('&');
      const std::string_view pair = query.substr(0, amp);
      const auto eq = pair.find('=');
      const std::string_view key = pair.substr(0, eq);
      const std::string value =
          eq == std::string_view::npos ? std::string() : PercentDecoded(pair.substr(eq + 1));
      if (key == "host") parsed.host = value;
      if (key == "port" && !ParsePort(value, parsed.port)) return false;
      if (key == "user") parsed.user = value;
      if (key == "password") parsed.password = value;
      query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    }
    location = std::move(parsed);
    return true;
  }
  if (text.empty()) return false;
  location = File(std::string(text));
  return true;
}

std::string TResultsLocation::Describe() const {
  if (!server) return file;
  return "the class server " + (host.empty() ? std::string("localhost") : host) + "/" + database;
}
