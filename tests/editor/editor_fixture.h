#pragma once
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "editor/react_window.h"
#include "model/reaction_file.h"
#include "tests/support/working_folder.h"

// A working folder holding a reaction file, and an editor view over it.
class EditorFixture : public ::testing::Test {
 protected:
  // One reaction: question, type and one formula a side.
  static std::unique_ptr<TReaction> R(const char* question, int32_t type,
                                      const char* reactant = "Ag", int32_t charge = 1,
                                      const char* product = "AgCl") {
    auto reaction = std::make_unique<TReaction>(question, type);
    reaction->reactants[0].SetFormula(reactant);
    reaction->reactants[0].charge = charge;
    reaction->products[0].SetFormula(product);
    return reaction;
  }
  void Write(std::vector<std::unique_ptr<TReaction>> reactions) {
    TReactionList list;
    for (auto& reaction : reactions) list.push_back(std::move(reaction));
    ASSERT_TRUE(WriteReactionFile(list));
  }
  std::unique_ptr<TReactWindow> MakeView() {
    auto view = std::make_unique<TReactWindow>(nullptr);
    view->resize(600, 400);
    view->Create();
    return view;
  }
  static std::vector<std::string> Questions(const TReactionList& list) {
    std::vector<std::string> out;
    for (const auto& reaction : list) out.emplace_back(reaction->Question());
    return out;
  }
  static std::vector<std::string> Marked(const TReactWindow& view) {
    std::vector<std::string> out;
    for (std::size_t k = 0; k < view.CheckBoxes().size(); ++k)
      if (view.CheckBoxes()[k]->GetCheck()) out.emplace_back(view.ShownReactions()[k]->Question());
    return out;
  }
  // The file decodes to exactly the view's list, record for record.
  static void ExpectFileEqualsList(const TReactWindow& view) {
    TReactionList file;
    ASSERT_EQ(ReadReactionFile(file), ReadResult::Ok);
    ASSERT_EQ(file.size(), view.AllReactions().size());
    for (std::size_t i = 0; i < file.size(); ++i) {
      unsigned char a[kReactionRecordSize], b[kReactionRecordSize];
      EncodeReaction(*file[i], a);
      EncodeReaction(*view.AllReactions()[i], b);
      EXPECT_EQ(std::string(a, a + sizeof a), std::string(b, b + sizeof b)) << i;
    }
  }

  TWorkingFolder folder_;
};
