// tarvolin-rxn: the reaction file and its text form, both ways, with the checks that keep a
// wrong answer from reaching a student.
//
//   tarvolin-rxn import [--lenient] [--force] [--allow-empty] TEXT RXN
//   tarvolin-rxn export [--force] [--allow-empty] RXN TEXT
//   tarvolin-rxn check [--lenient] [--verbose] TEXT
//   tarvolin-rxn --version
//
// The text form is described in bank_text.h and in the README. Neither command writes over its
// own input, nor over a file of the other kind (a reaction file with text, a text bank with a
// reaction file) unless --force, nor writes a file with no reaction unless --allow-empty.
#include <sys/stat.h>

#include <array>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "bank/balance.h"
#include "bank/bank_checks.h"
#include "bank/bank_text.h"
#include "bank/file_kind.h"
#include "model/atomic_file.h"
#include "model/reaction_file.h"
#include "tarvolin_version.h"

namespace {

struct TOptions {
  bool lenient = false;
  bool verbose = false;
  bool force = false;
  bool allowEmpty = false;
};

int Usage() {
  std::cerr << "usage: tarvolin-rxn import [--lenient] [--force] [--allow-empty] TEXT RXN\n"
               "       tarvolin-rxn export [--force] [--allow-empty] RXN TEXT\n"
               "       tarvolin-rxn check [--lenient] [--verbose] TEXT\n"
               "       tarvolin-rxn --version\n";
  return 2;
}

std::string Reactions(std::size_t n) {
  return std::to_string(n) + (n == 1 ? " reaction" : " reactions");
}

void Report(const std::string& path, const std::vector<TBankIssue>& issues, bool withLine) {
  for (const TBankIssue& issue : issues) {
    std::cerr << path;
    if (withLine && issue.line > 0) std::cerr << ":" << issue.line;
    std::cerr << (issue.error ? ": error: " : ": warning: ") << issue.text << "\n";
  }
}

// Refuses an output that is the input, or that holds the other kind of file; true when the
// output may be written. Text goes only where there is nothing, text, or an empty file, so a
// damaged reaction file is kept too; a reaction file goes anywhere but over a bank's text.
bool MayWrite(const std::string& input, const std::string& output, bool writingText,
              const TOptions& options) {
  if (SameFile(input, output)) {
    std::cerr << output << ": is the file being read; not written\n";
    return false;
  }
  const TFileKind kind = FileKind(output);
  const bool foreign = writingText ? kind == TFileKind::ReactionFile ||
                                         (kind == TFileKind::Other && HoldsZeroByte(output))
                                   : kind == TFileKind::TextBank;
  if (foreign && !options.force) {
    std::cerr << output << ": holds "
              << (writingText ? "a reaction file or other binary data" : "a bank's text")
              << ", not what this command writes; not written (--force writes over it)\n";
    return false;
  }
  return true;
}

bool MayWriteEmpty(const std::string& input, const std::string& output, std::size_t count,
                   const TOptions& options) {
  if (count > 0 || options.allowEmpty) return true;
  std::cerr << input << ": holds no reaction; " << output
            << " not written (--allow-empty writes a file with none)\n";
  return false;
}

// Whether a path names something other than a regular file: a pipe, a terminal, /dev/stdout.
// Those are written straight through; renaming a file over them would replace the device.
bool Stream(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISREG(info.st_mode);
}

bool WriteStream(const std::string& path, const std::string& bytes, std::string& error) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  out.close();
  if (!out) error = "cannot write";
  return static_cast<bool>(out);
}

bool Read(const std::string& path, bool lenient, TImportResult& result) {
  // A reaction file given where text belongs would otherwise give an error a line.
  if (FileKind(path) == TFileKind::ReactionFile || HoldsZeroByte(path)) {
    std::cerr << path << ": is not a bank's text but binary (a reaction file? tarvolin-rxn "
              << "export turns one into text)\n";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::cerr << path << ": cannot open\n";
    return false;
  }
  result = ImportBank(in, lenient);
  Report(path, result.issues, true);
  return result.ok;
}

int Import(const std::string& text, const std::string& rxn, const TOptions& options) {
  if (!MayWrite(text, rxn, false, options)) return 1;
  TImportResult result;
  if (!Read(text, options.lenient, result)) {
    std::cerr << rxn << ": not written\n";
    return 1;
  }
  if (!MayWriteEmpty(text, rxn, result.reactions.size(), options)) return 1;
  std::string error;
  bool written = false;
  if (Stream(rxn)) {
    const std::vector<unsigned char> encoded = EncodeReactionFile(result.reactions);
    written = WriteStream(rxn, std::string(encoded.begin(), encoded.end()), error);
  } else {
    written = WriteReactionFile(result.reactions, rxn, &error);
  }
  if (!written) {
    std::cerr << rxn << ": " << error << "\n";
    return 1;
  }
  std::cout << Reactions(result.reactions.size()) << " written to " << rxn << "\n";
  return 0;
}

int Export(const std::string& rxn, const std::string& text, const TOptions& options) {
  if (!MayWrite(rxn, text, true, options)) return 1;
  if (const std::string why = NotAReactionFile(rxn); !why.empty()) {
    std::cerr << rxn << ": is not a reaction file: " << why << "\n";
    if (FileKind(rxn) == TFileKind::TextBank)
      std::cerr << rxn << ": it is text; tarvolin-rxn import turns a bank's text into a "
                << "reaction file\n";
    return 1;
  }
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
  // Each finding names the reaction in the file read, not a line of text that is not written.
  Report(rxn, result.issues, false);
  if (!result.ok) {
    std::cerr << text << ": not written\n";
    return 1;
  }
  if (!MayWriteEmpty(rxn, text, reactions.size(), options)) return 1;
  std::string error;
  if (Stream(text)
          ? !WriteStream(text, result.text, error)
          : !WriteFileAtomically(text, reinterpret_cast<const unsigned char*>(result.text.data()),
                                 result.text.size(), &error)) {
    std::cerr << text << ": " << error << "\n";
    return 1;
  }
  std::cout << Reactions(reactions.size()) << " written to " << text << "\n";
  return 0;
}

int Check(const std::string& text, const TOptions& options) {
  TImportResult result;
  const bool ok = Read(text, options.lenient, result);
  std::array<int, kReactionTypeCount> perType{};
  int others = 0;
  for (std::size_t r = 0; r < result.reactions.size(); ++r) {
    const TReaction& reaction = *result.reactions[r];
    if (reaction.type >= 0 && reaction.type < kReactionTypeCount)
      ++perType[static_cast<std::size_t>(reaction.type)];
    else
      ++others;
    if (!options.verbose) continue;
    std::cout << text << ":" << result.lineOfReaction[r] << ": ";
    const TBalance balance = BalanceReaction(reaction);
    if (balance.balanced && balance.independent > 1)
      // Any one balance printed here would be a mix of unrelated reactions, not this one's.
      std::cout << BalancedText(reaction, TBalance{}) << "  (balances in " << balance.independent
                << " independent ways: no one balance is the reaction's own)\n";
    else
      std::cout << BalancedText(reaction, balance) << "\n";
  }
  const std::size_t passed = result.reactions.size();
  std::cout << Reactions(passed) << (passed == 1 ? " passes" : " pass");
  for (int type = 0; type < kReactionTypeCount; ++type)
    std::cout << (type ? ", " : ": ") << TypeText(type) << " " << perType[type];
  if (others) std::cout << ", other codes " << others;
  std::cout << "\n";
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  TOptions options;
  std::vector<std::string> operands;
  for (const std::string& arg : args) {
    if (arg == "--version") {
      std::cout << "tarvolin-rxn " << kTarvolinVersion << "\n";
      return 0;
    }
    if (arg == "--lenient")
      options.lenient = true;
    else if (arg == "--verbose" || arg == "-v")
      options.verbose = true;
    else if (arg == "--force")
      options.force = true;
    else if (arg == "--allow-empty")
      options.allowEmpty = true;
    else if (arg.size() > 1 && arg[0] == '-')
      return Usage();
    else
      operands.push_back(arg);
  }
  if (operands.empty()) return Usage();
  const std::string command = operands[0];
  const bool writes = options.force || options.allowEmpty;
  if (command == "import" && operands.size() == 3 && !options.verbose)
    return Import(operands[1], operands[2], options);
  if (command == "export" && operands.size() == 3 && !options.lenient && !options.verbose)
    return Export(operands[1], operands[2], options);
  if (command == "check" && operands.size() == 2 && !writes) return Check(operands[1], options);
  return Usage();
}
