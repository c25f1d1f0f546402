// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo over the document's working image: what each step brings
// back, what starts a fresh history, and how the modified flag behaves.
#include "document_test_support.h"
#include "support/codes.h"

#include "model/memory_map.h"
#include "radio/document_target.h"
#include "radio/undo_history.h"

namespace {

using doctest::DocumentWorld;

class UndoTest : public DocumentWorld, public cmcDocumentHost {
 protected:
  void SetUp() override {
    DocumentWorld::SetUp();
    doc = MakeDocument();
    doc->SetHost(this);
    target = std::make_unique<cmcDocumentTarget>(*doc);
  }
  void DocumentChanged(Change what) override { changes.push_back(what); }

  // One evaluation that wrote value at address, as the evaluator reports it.
  void Edit(int address, std::uint8_t value) {
    doc->Working().SetByte(address, value);
    target->NoteActivity();
  }

  std::unique_ptr<cmcDocument> doc;
  std::unique_ptr<cmcDocumentTarget> target;
  std::vector<Change> changes;
};

constexpr int kAddress = 0x40;

TEST_F(UndoTest, StepSequencesRestoreEachImage) {
  // 'a'..'c' are evaluations that wrote that letter, '=' one that changed
  // nothing, 'u' undo and 'r' redo. After each step: the byte, then
  // whether undo and redo are possible.
  struct Step {
    char op;
    std::uint8_t byte;
    bool canUndo;
    bool canRedo;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const std::uint8_t start = doc->Working().GetByte(kAddress);
  const Case cases[] = {
      {"edit edit undo undo redo",
       {{'a', 'a', true, false},
        {'b', 'b', true, false},
        {'u', 'a', true, true},
        {'u', start, false, true},
        {'r', 'a', true, true}}},
      {"undo and redo with nothing to take back",
       {{'u', start, false, false}, {'r', start, false, false}}},
      {"an evaluation that changed nothing is no step",
       {{'a', 'a', true, false}, {'=', 'a', true, false}, {'u', start, false, true}}},
      {"a new edit drops what could be redone",
       {{'a', 'a', true, false},
        {'b', 'b', true, false},
        {'u', 'a', true, true},
        {'c', 'c', true, false},
        {'r', 'c', true, false},
        {'u', 'a', true, true},
        {'u', start, false, true}}},
      {"redo all the way",
       {{'a', 'a', true, false},
        {'b', 'b', true, false},
        {'u', 'a', true, true},
        {'u', start, false, true},
        {'r', 'a', true, true},
        {'r', 'b', true, false},
        {'r', 'b', true, false}}},
  };
  for (const Case& c : cases) {
    doc->New();
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& s = c.steps[i];
      switch (s.op) {
        case 'u': doc->Undo(); break;
        case 'r': doc->Redo(); break;
        case '=': target->NoteActivity(); break;
        default: Edit(kAddress, static_cast<std::uint8_t>(s.op)); break;
      }
      const std::string where = std::string(c.name) + ", step " + std::to_string(i + 1);
      EXPECT_EQ(doc->Working().GetByte(kAddress), s.byte) << where;
      EXPECT_EQ(doc->CanUndo(), s.canUndo) << where;
      EXPECT_EQ(doc->CanRedo(), s.canRedo) << where;
    }
  }
}

TEST_F(UndoTest, OneEvaluationOverManyRowsIsOneStep) {
  const cmcEeprom before = doc->Working();
  // A paste of several channel rows, all written before the evaluator
  // reports its one action.
  for (int row = 0; row < 8; ++row) doc->Working().SetByte(0x20 + row * 2, 0x11);
  target->NoteActivity();
  Edit(0x100, 0x22);

  ASSERT_TRUE(doc->Undo());
  EXPECT_EQ(doc->Working().GetByte(0x100), before.GetByte(0x100));
  for (int row = 0; row < 8; ++row) EXPECT_EQ(doc->Working().GetByte(0x20 + row * 2), 0x11) << row;
  ASSERT_TRUE(doc->Undo());
  EXPECT_TRUE(doc->Working().Equals(before));
  EXPECT_FALSE(doc->CanUndo());
}

TEST_F(UndoTest, AChangeNoEvaluationReportedIsUndoneFirst) {
  Edit(kAddress, 'a');
  doc->Working().SetByte(kAddress, 'b');  // e.g. an editor that has not reported yet
  ASSERT_TRUE(doc->Undo());
  EXPECT_EQ(doc->Working().GetByte(kAddress), 'a');
  ASSERT_TRUE(doc->Redo());
  EXPECT_EQ(doc->Working().GetByte(kAddress), 'b');
}

TEST_F(UndoTest, AReplacedImageIsOneStepAfterThePendingChange) {
  const cmcEeprom start = doc->Working();
  doc->Working().SetByte(kAddress, 'a');  // not reported yet
  cmcEeprom imported(start);
  for (int a = 0x20; a < 0x60; ++a) imported.SetByte(a, 0x5A);
  changes.clear();
  doc->ReplaceWorking(imported);
  EXPECT_TRUE(doc->Working().Equals(imported));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(changes, (std::vector<Change>{kModified}));

  ASSERT_TRUE(doc->Undo());  // the whole import at once ...
  EXPECT_EQ(doc->Working().GetByte(kAddress), 'a');
  EXPECT_EQ(doc->Working().GetByte(0x20), start.GetByte(0x20));
  ASSERT_TRUE(doc->Undo());  // ... then the change before it
  EXPECT_TRUE(doc->Working().Equals(start));
  ASSERT_TRUE(doc->Redo());
  ASSERT_TRUE(doc->Redo());
  EXPECT_TRUE(doc->Working().Equals(imported));
}

TEST_F(UndoTest, NewOpenReadAndModelChangeStartAFreshHistory) {
  ASSERT_EQ(doctest::WriteFile(data + "other.dat", doctest::RadioImage(0)), 0);
  struct Case {
    const char* name;
    std::function<void()> start;
  };
  const Case cases[] = {
      {"new", [&] { doc->New(); }},
      {"open", [&] { ASSERT_EQ(Num(doc->Open(data + "other.dat")), 0); }},
      {"clone read", [&] { ASSERT_EQ(Run(*doc, &cmcDocument::CloneRead), 0); }},
      {"model change", [&] { ASSERT_TRUE(doc->ChangeModel(doc->ModelType() == 3 ? 4 : 3, true)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Edit(kAddress, 'a');
    Edit(kAddress, 'b');
    ASSERT_TRUE(doc->Undo());
    ASSERT_TRUE(doc->CanRedo());
    c.start();
    const cmcEeprom loaded = doc->Working();
    EXPECT_FALSE(doc->CanUndo());
    EXPECT_FALSE(doc->CanRedo());
    EXPECT_FALSE(doc->Undo());
    EXPECT_TRUE(doc->Working().Equals(loaded));
  }
}

TEST_F(UndoTest, FailedOpenKeepsTheHistory) {
  Edit(kAddress, 'a');
  EXPECT_NE(Num(doc->Open(data + "none.dat")), 0);
  EXPECT_TRUE(doc->CanUndo());
}

TEST_F(UndoTest, ModifiedFlagIsSetAgainButNeverClearedByUndo) {
  Edit(kAddress, 'a');
  EXPECT_TRUE(doc->IsModified());
  ASSERT_EQ(Num(doc->SaveTo(data + "saved.dat")), 0);
  EXPECT_FALSE(doc->IsModified());

  changes.clear();
  ASSERT_TRUE(doc->Undo());  // back before the save: differs from the file
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(changes, (std::vector<Change>{kModified, kUndone}));

  ASSERT_TRUE(doc->Redo());  // the saved image again, still marked modified
  EXPECT_TRUE(doc->Working().Equals(doc->Snapshot()));
  EXPECT_TRUE(doc->IsModified());
  doc->TakeSnapshot();
  EXPECT_FALSE(doc->IsModified());
}

TEST(UndoHistory, KeepsOnlyTheNewestSteps) {
  cmcEeprom image(16);
  cmcUndoHistory history;
  history.Reset(image);
  const int steps = static_cast<int>(cmcUndoHistory::kMaxSteps) + 50;
  for (int i = 1; i <= steps; ++i) {
    image.SetByte(0, static_cast<std::uint8_t>(i));
    image.SetByte(1, static_cast<std::uint8_t>(i >> 8));
    ASSERT_TRUE(history.Record(image));
  }
  int undone = 0;
  const cmcEeprom* state = nullptr;
  while (const cmcEeprom* previous = history.Undo()) state = previous, ++undone;
  EXPECT_EQ(undone, static_cast<int>(cmcUndoHistory::kMaxSteps));
  ASSERT_NE(state, nullptr);
  const int oldest = steps - static_cast<int>(cmcUndoHistory::kMaxSteps);
  EXPECT_EQ(state->GetByte(0) | state->GetByte(1) << 8, oldest);
}

}  // namespace
