#pragma once

namespace zavo::core {

// A busy wait of exactly `rounds` additions of 1. It yields to nothing: no
// event is handled while it runs. The volatile counter keeps the optimiser
// from removing the loop. Returns the count reached.
inline long counted_wait(long rounds) {
    volatile long counter = 0;
    for (long i = 1; i <= rounds; ++i)
        counter = counter + 1;
    return counter;
}

} // namespace zavo::core
