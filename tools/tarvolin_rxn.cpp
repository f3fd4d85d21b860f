// tarvolin-rxn: the reaction file and its text form, both ways, with the checks that keep a
// wrong answer from reaching a student.
//
//   tarvolin-rxn import [--lenient] TEXT RXN   text form to reaction file
//   tarvolin-rxn export RXN TEXT               reaction file to text form
//   tarvolin-rxn check [--lenient] [--verbose] TEXT
//
// The text form is described in bank_text.h and in the README.
#include <array>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "model/reaction_file.h"
#include "tools/balance.h"
#include "tools/bank_checks.h"
#include "tools/bank_text.h"

namespace {

int Usage() {
  std::cerr << "usage: tarvolin-rxn import [--lenient] TEXT RXN\n"
               "       tarvolin-rxn export RXN TEXT\n"
               "       tarvolin-rxn check [--lenient] [--verbose] TEXT\n";
  return 2;
}

void Report(const std::string& path, const std::vector<TBankIssue>& issues) {
  for (const TBankIssue& issue : issues) {
    std::cerr << path;
    if (issue.line > 0) std::cerr << ":" << issue.line;
    std::cerr << (issue.error ? ": error: " : ": warning: ") << issue.text << "\n";
  }
}

bool Read(const std::string& path, bool lenient, TImportResult& result) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path << ": cannot open\n";
    return false;
  }
  result = ImportBank(in, lenient);
  Report(path, result.issues);
  return result.ok;
}

int Import(const std::string& text, const std::string& rxn, bool lenient) {
  TImportResult result;
  if (!Read(text, lenient, result)) return 1;
  std::string error;
  if (!WriteReactionFile(result.reactions, rxn, &error)) {
    std::cerr << error << "\n";
    return 1;
  }
  return 0;
}

int Export(const std::string& rxn, const std::string& text) {
  TReactionList reactions;
  const ReadResult read = ReadReactionFile(reactions, rxn);
  if (read == ReadResult::CannotOpen) {
    std::cerr << rxn << ": cannot open\n";
    return 1;
  }
  if (read == ReadResult::Damaged)
    std::cerr << rxn << ": warning: the file is damaged: its length does not match its count; the "
              << reactions.size() << " complete reactions are exported\n";
  const TExportResult result = ExportBank(reactions);
  Report(text, result.issues);
  if (!result.ok) {
    std::cerr << text << ": not written\n";
    return 1;
  }
  std::ofstream out(text, std::ios::binary | std::ios::trunc);
  out << result.text;
  out.close();
  if (!out) {
    std::cerr << text << ": cannot write\n";
    return 1;
  }
  return 0;
}

int Check(const std::string& text, bool lenient, bool verbose) {
  TImportResult result;
  const bool ok = Read(text, lenient, result);
  std::array<int, kReactionTypeCount> perType{};
  int others = 0;
  for (std::size_t r = 0; r < result.reactions.size(); ++r) {
    const TReaction& reaction = *result.reactions[r];
    if (reaction.type >= 0 && reaction.type < kReactionTypeCount)
      ++perType[static_cast<std::size_t>(reaction.type)];
    else
      ++others;
    if (verbose)
      std::cout << text << ":" << result.lines[r] << ": "
                << BalancedText(reaction, BalanceReaction(reaction)) << "\n";
  }
  std::cout << result.reactions.size() << " reactions pass";
  for (int type = 0; type < kReactionTypeCount; ++type)
    std::cout << (type ? ", " : ": ") << TypeText(type) << " " << perType[type];
  if (others) std::cout << ", other codes " << others;
  std::cout << "\n";
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool lenient = false, verbose = false;
  std::vector<std::string> operands;
  for (const std::string& arg : args) {
    if (arg == "--lenient")
      lenient = true;
    else if (arg == "--verbose" || arg == "-v")
      verbose = true;
    else
      operands.push_back(arg);
  }
  if (operands.empty()) return Usage();
  const std::string command = operands[0];
  if (command == "import" && operands.size() == 3 && !verbose)
    return Import(operands[1], operands[2], lenient);
  if (command == "export" && operands.size() == 3 && !lenient && !verbose)
    return Export(operands[1], operands[2]);
  if (command == "check" && operands.size() == 2) return Check(operands[1], lenient, verbose);
  return Usage();
}
