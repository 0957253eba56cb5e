// The main window's name-list procedures: list load, list options, editing, importing.
#include "app/form1.h"

namespace app {

void Form1::DatabaseToListview() {}
void Form1::Option1_Click() {}
void Form1::Option2_Click() {}
void Form1::Option3_Click() {}
void Form1::Option8_Click() {}
void Form1::Option9_Click() {}
void Form1::PushButton2_Click() {}
void Form1::PushButton3_Click() {}
void Form1::PushButton4_Click() {}
void Form1::PushButton5_Click() {}
void Form1::PushButton6_Click() {}
void Form1::PushButton7_Click() {}
void Form1::ListView1_DblClick() {}
void Form1::ListView2_DblClick() {}
void Form1::ListView1_KeyDown(int, int) {}
void Form1::ListView2_KeyDown(int, int) {}

}  // namespace app
