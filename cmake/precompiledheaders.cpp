// The library that makes the precompiled header the other targets reuse; it has no code.
