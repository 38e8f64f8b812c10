// What the effects need from the layers above them. The engine object
// (TForm1) implements it, so effects never link against those layers.
#pragma once

namespace zk {

class EffectsHost {
 public:
  // Skip and auto mode off and the quick buttons redrawn, before a staff
  // roll takes the screen.
  virtual void StopSkipAndAuto() = 0;

 protected:
  ~EffectsHost() = default;
};

}  // namespace zk
