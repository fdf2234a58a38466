#pragma once
// Puts the console back the way the program found it, on every way out: the
// normal end, exit(), Ctrl+Break, closing the window, logoff and shutdown (a
// console control handler), abort() and a crash (an unhandled-exception
// filter). Those ways out run on other threads or in the middle of anything,
// so this state lives here, once per process.
#include <windows.h>

#include <mutex>

namespace cp::tty_guard {

// Console input in the program's raw mode for as long as it is on: no line
// editing, no echo, Ctrl+C as the key 3, buffer-size events reported.
// False if the handle is no console input.
bool enter_raw_input(HANDLE input);
// Restores the input mode it had (if raw mode is on).
void leave_raw_input();

// The console output the program draws on: its mode, text attribute and
// cursor are remembered, then set for the program (processed output, wrap at
// the end of a row, a visible cursor). False if the handle is no console output.
bool watch_output(HANDLE output);
// Restores what watch_output remembered.
void unwatch_output();
// The text attribute the console had: the colours a reset brings back.
WORD original_attribute();

// Held around every call that draws on the console, so that a way out taken
// on another thread does not restore the console in the middle of a drawing,
// nor is undone by the drawing that follows.
std::unique_lock<std::mutex> drawing();

// A buffer-size event was read: the output measures the buffer again.
void note_resized();
// True once after each note_resized.
bool take_resized();

// The record of the key Ctrl+C, as the console delivers it when processed
// input is off.
INPUT_RECORD ctrl_c_record();

}  // namespace cp::tty_guard
