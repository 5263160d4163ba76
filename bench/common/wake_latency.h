// How long one thread takes to wake another on this machine: the price of every hand-over
// between the reader and the window thread, and the part of the figures that is the machine's.
#pragma once

namespace bench {

// Two threads pass a turn back and forth `exchanges` times through a mutex and a condition
// variable, each sleeping until it is woken; gives half the median round trip, in microseconds.
double MedianWakeUpMicroseconds(int exchanges);

}  // namespace bench
