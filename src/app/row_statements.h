#pragma once

#include "generate/generation.h"

namespace app {

// The numbers of the row steps among the statements of the main window's
// PushButton1_Click.
constexpr int rowStatement(generate::RowStep step) {
    using generate::RowStep;
    switch (step) {
        case RowStep::DrawLast:
            return 126;
        case RowStep::HasLastNames:
            return 128;
        case RowStep::ShowLast:
            return 130;
        case RowStep::DrawFirst:
            return 132;
        case RowStep::HasFirstNames:
            return 134;
        case RowStep::ShowFirst:
            return 136;
        case RowStep::WantsFullName:
            return 138;
        case RowStep::AddFullName:
            return 140;
        case RowStep::WantsFirstName:
            return 142;
        case RowStep::AddFirstName:
            return 144;
        case RowStep::WantsLastName:
            return 146;
        case RowStep::AddLastName:
            return 148;
        case RowStep::DrawPerson:
            return 174;
        case RowStep::ShowProgress:
            break;
    }
    return 150;
}

}  // namespace app
