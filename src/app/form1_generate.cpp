// The main window's generation run and its results window.
#include "app/form1.h"

#include "results/form2.h"

namespace app {

void Form1::PushButton1_Click() {}

results::Form2& Form1::Form2() {
    if (!form2_) form2_ = std::make_unique<results::Form2>();
    return *form2_;
}

}  // namespace app
