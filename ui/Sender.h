#pragma once
// The control a click came from. One click handler serves every control of a kind (a menu item and
// its toolbar button, say) and reads what it needs from here: the tag, and which control it was.
namespace ui {

class MenuItem;
class SpeedButton;

struct Sender {
  int Tag = 0;
  MenuItem* Item = nullptr;      // set when a menu item was clicked
  SpeedButton* Button = nullptr; // set when a toolbar button was clicked
};

}  // namespace ui
