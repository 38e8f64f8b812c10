// The main window's start-up: the whole sequence, run from FormCreate.
#pragma once

namespace zk {

class TForm1;

void RunStartup(TForm1& f);

}  // namespace zk
