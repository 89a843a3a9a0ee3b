// Memory that runs short inside afx_tests, whose operator new
// (fault_sweep_test.cpp) fails every allocation past a budget.
#ifndef ORVIK_TESTS_AFX_MEMORY_BUDGET_H
#define ORVIK_TESTS_AFX_MEMORY_BUDGET_H

namespace orvik::test {

// The allocations that may still succeed; -1: no budget.
extern long g_allocationsLeft;

}  // namespace orvik::test

#endif  // ORVIK_TESTS_AFX_MEMORY_BUDGET_H
