// What the tests of files and archives ask of a failure: its cause.
#pragma once

// The m_cause of the Exception that `action` throws, or -1 when it throws none.
template <class Exception, class Action>
int CauseOf(Action action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.m_cause;
    }
    return -1;
}
