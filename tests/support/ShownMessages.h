#pragma once
// The texts of the message boxes the program asked or showed, recorded from
// the moment a test program starts recording.
#include "window/MessageBox.h"

#include <QStringList>

class ShownMessages : public MessageBox {
public:
    // From now on every text is recorded; `quiet`: no box is ever shown (a
    // question without a preset answer is answered No).
    static void Record(bool quiet = true)
    {
        setRecorder(&Texts());
        setTestMode(quiet);
    }
    static QStringList texts() { return Texts(); }
    static void clear() { Texts().clear(); }

private:
    static QStringList& Texts()
    {
        static QStringList texts;
        return texts;
    }
};
