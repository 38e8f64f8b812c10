// What the game services need from the layers above them. The engine object
// (TForm1) implements it, so services never link against those layers.
#pragma once

namespace zk {

class ServicesHost {
 public:
  // Skip and auto mode off and the quick buttons redrawn (a game screen
  // opens), and the same only when the player asked to stop at choices (a
  // save or load screen or the map opens).
  virtual void StopSkipAndAuto() = 0;
  virtual void ApplyStopAtChoice() = 0;

 protected:
  ~ServicesHost() = default;
};

}  // namespace zk
