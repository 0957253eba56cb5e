#pragma once

#include <stdexcept>

namespace generate {

// Text that chooses what to draw (origins, birth decades) and cannot be read.
// The message is one line for the user, ready to follow "quillfern: ".
class ChoiceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace generate
