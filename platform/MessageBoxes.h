#pragma once

#include <QString>

namespace platform {

// Answers keep the codes the program has always compared against.
enum Answer : int { AnswerNone = 0, AnswerOk = 1, AnswerYes = 6, AnswerNo = 7 };

enum class Buttons { Ok, YesNo };
enum class Icon { None, Warning };

struct MessageRequest {
    QString text;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    QString title;  // empty: the application title
    Answer defaultButton = AnswerOk;
};

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // Shows a modal box and returns the answer code of the button pressed.
    virtual int show(const MessageRequest& request) = 0;
};

}  // namespace platform
