#pragma once
// String resources that only the test programs carry.
#define IDS_TEST_GREETING 9001
#define IDS_TEST_ASCII    9002
#define IDS_TEST_MISSING  9099
