// The game's random numbers: one linear congruential generator over the
// shared `randomSeed` (multiplier 1664525, increment 1013904223, modulo 2^32).
// Every draw advances the one seed, so the order of draws is part of the
// game's behaviour.
#pragma once

// One generator step; the top 24 bits of the new seed as a fraction in [0, 1).
float RandomFraction();
