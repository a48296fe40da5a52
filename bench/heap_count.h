// Counting of the heap blocks a process holds, for benchmarks that report
// peak memory. Linking heap_count.cpp replaces the global operator new and
// delete; counting is off until StartHeapCount.
#pragma once

// Counts from now on: every block from operator new, and from the XML
// library's allocator once CountXmlHeap ran, at the usable size malloc gave it.
// Blocks freed that were allocated before are not subtracted from the peak
// correctly, so call it where the measured work starts from a clean state
// (a child process is the intended place).
void StartHeapCount();
// Highest sum of counted live bytes since StartHeapCount.
long long HeapPeakBytes();
// Routes the XML library's allocations through the counter, keeping the
// allocator installed before (the framework's) underneath.
void CountXmlHeap();
