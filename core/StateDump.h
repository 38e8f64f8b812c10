// The harness's state dump: the engine state as one JSON object.
#pragma once
#include <string>

namespace zk {

class TForm1;

std::string DumpStateJson(const TForm1& f);

// A small JSON object writer; subsystems use it to add their own keys.
class JsonWriter {
 public:
  void Key(const char* name);
  void Int(long long v);
  void Bool(bool v);
  void String(const std::string& utf8);
  void BeginObject();
  void EndObject();
  void BeginArray();
  void EndArray();
  const std::string& Text() const { return out_; }

 private:
  void Separate();
  std::string out_;
  bool needComma_ = false;
};

}  // namespace zk
