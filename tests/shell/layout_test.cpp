// Where the controls stand: at their places at 96 DPI, scaled at 144, the
// docked panels following the window's size and the splitters.
#include "shell/layout.h"

#include <gtest/gtest.h>

namespace {

using shell::Id;
using shell::Rect;

Rect At(const shell::Placement& placement, Id id) {
  return placement[static_cast<std::size_t>(id)];
}

TEST(Layout, TheDesignedPlacesAt96And144Dpi) {
  const struct {
    Id id{};
    Rect at96, at144;
  } cases[] = {
      {Id::pnl_1, {0, 0, 330, 456}, {0, 0, 495, 684}},
      {Id::spl1, {330, 0, 8, 456}, {495, 0, 12, 684}},
      {Id::pnl_2, {338, 0, 710, 456}, {507, 0, 1065, 684}},
      {Id::lbl_1, {8, 8, 191, 13}, {12, 12, 287, 20}},
      {Id::edt_ZETKA_source, {8, 24, 313, 21}, {12, 36, 470, 32}},
      {Id::edt_ZETKA_dest, {8, 64, 313, 21}, {12, 96, 470, 32}},
      {Id::btn_1, {8, 96, 313, 33}, {12, 144, 470, 50}},
      {Id::mmo_1, {8, 160, 146, 257}, {12, 240, 219, 386}},
      {Id::mmo_2, {160, 160, 145, 257}, {240, 240, 218, 386}},
      {Id::pnl_3, {0, 415, 1048, 41}, {0, 622, 1572, 62}},
      {Id::pnl_5, {0, 0, 529, 415}, {0, 0, 794, 622}},
      {Id::spl2, {529, 0, 8, 415}, {794, 0, 12, 622}},
      {Id::pnl_4, {537, 0, 511, 415}, {806, 0, 766, 622}},
      {Id::pnl_6, {2, 2, 507, 41}, {2, 2, 762, 62}},
      {Id::mmo_Log, {2, 43, 507, 370}, {2, 64, 762, 556}},
      {Id::chk_Remanenty, {10, 63, 393, 17}, {15, 95, 590, 26}},
      {Id::chk_4, {8, 126, 97, 16}, {12, 189, 146, 24}},
      {Id::mmo_3, {32, 144, 185, 225}, {48, 216, 278, 338}},
      {Id::btn_2, {16, 8, 97, 25}, {24, 12, 146, 38}},
      {Id::btn_3, {120, 8, 193, 25}, {180, 12, 290, 38}},
      {Id::btn_4, {320, 8, 169, 25}, {480, 12, 254, 38}},
      {Id::btn_Podglad, {496, 8, 97, 25}, {744, 12, 146, 38}},
      {Id::btn_Cofnij, {600, 8, 97, 25}, {900, 12, 146, 38}},
  };
  const auto at96 = shell::Layout(1048, 456, 96, shell::InitialWidths(96));
  const auto at144 = shell::Layout(1572, 684, 144, shell::InitialWidths(144));
  for (const auto& c : cases) {
    const auto name = shell::Spec(c.id).name;
    EXPECT_EQ(At(at96, c.id), c.at96) << std::string(name.begin(), name.end()) << " at 96";
    EXPECT_EQ(At(at144, c.id), c.at144) << std::string(name.begin(), name.end()) << " at 144";
  }
  EXPECT_EQ(shell::FontHeight(96), -11);
  EXPECT_EQ(shell::FontHeight(144), -16);
}

TEST(Layout, TheLogFollowsTheWindowAndThePathsPanelKeepsItsWidth) {
  const auto small = shell::Layout(300, 100, 96, shell::InitialWidths(96));
  EXPECT_EQ(At(small, Id::pnl_1).width, 330);
  EXPECT_EQ(At(small, Id::pnl_2).width, 0);
  EXPECT_EQ(At(small, Id::pnl_3), (Rect{0, 59, 300, 41}));
  EXPECT_EQ(At(small, Id::mmo_Log), (Rect{2, 43, 0, 14}));
  EXPECT_EQ(At(shell::Layout(300, 60, 96, shell::InitialWidths(96)), Id::mmo_Log).height, 0);

  const auto large = shell::Layout(1600, 900, 96, shell::InitialWidths(96));
  EXPECT_EQ(At(large, Id::mmo_Log), (Rect{2, 43, 1600 - 537 - 4, 900 - 41 - 4 - 41}));
  EXPECT_EQ(At(large, Id::btn_1), (Rect{8, 96, 313, 33}));
}

TEST(Layout, LabelsAndCheckBoxesWidenForTheirText) {
  shell::TextWidths needed{};
  needed[static_cast<std::size_t>(Id::lbl_1)] = 208;
  needed[static_cast<std::size_t>(Id::chk_4)] = 50;
  needed[static_cast<std::size_t>(Id::btn_1)] = 900;  // buttons keep their size
  const auto placed = shell::Layout(1048, 456, 96, shell::InitialWidths(96), needed);
  EXPECT_EQ(At(placed, Id::lbl_1), (Rect{8, 8, 208, 13}));
  EXPECT_EQ(At(placed, Id::chk_4), (Rect{8, 126, 97, 16}));
  EXPECT_EQ(At(placed, Id::btn_1), (Rect{8, 96, 313, 33}));
}

TEST(Splitters, DraggedWithinTheirBounds) {
  // pnl_1: never below 330, never pushing the splitter out of the page.
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_1, 330, 100, 1048, 96), 430);
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_1, 430, -300, 1048, 96), 330);
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_1, 330, 5000, 1048, 96), 1040);
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_1, 495, -300, 1572, 144), 495);
  // pnl_5 may be shut.
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_5, 529, -600, 1048, 96), 0);
  EXPECT_EQ(shell::DraggedWidth(Id::pnl_5, 529, 1000, 1048, 96), 1040);

  const auto dragged = shell::Layout(1048, 456, 96, {430, 100});
  EXPECT_EQ(At(dragged, Id::spl1), (Rect{430, 0, 8, 456}));
  EXPECT_EQ(At(dragged, Id::pnl_4), (Rect{108, 0, 940, 415}));
  EXPECT_EQ(shell::RescaledWidths({430, 100}, 96, 144).pnl_1, 645);
}

}  // namespace
