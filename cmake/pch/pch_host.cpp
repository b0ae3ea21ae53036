// Empty: this library only hosts the precompiled header the other targets reuse.
