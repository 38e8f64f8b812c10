// A main window on the headless platform without start-up, for the input
// tests: each test sets the state it needs directly.
#pragma once
#include "HeadlessForm.h"

namespace zk {

struct FormTest : HeadlessForm {
  void SetUp() override {
    clock.SetSink(&form);
    clock.StartTimer();
    s.Vars.S(kSysPlayerFunctions) = 1;
    s.Mode.WindowShown = true;
  }
  void Click(int x, int y, bool right = false) {
    form.PBMouseDown(x, y, right);
    form.PBMouseUp(x, y, right);
  }
  void Key(int key) {
    form.FormKeyDown(key);
    form.FormKeyUp(key);
  }
  int32_t& Button(int slot) { return s.Vars.S(kSysQuickButton1 + slot - 1); }
};

}  // namespace zk
