#pragma once

// Lets the main thread's stack grow to 64 MB (when the hard limit allows).
// The tree view lays out expanded items recursively, one call per level: an
// agenda nested tens of thousands of levels deep needs more than the usual
// 8 MB. Called first thing in main, before the stack has grown.
void RaiseStackLimit();
