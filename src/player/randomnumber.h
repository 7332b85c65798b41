// A random whole number from 0 to n: a uniform draw in [0, 1) times n,
// rounded to the nearest integer with halves to the even one, so 0 and n
// are each half as likely as the values between. Without allowZero a 0
// becomes 1.
#pragma once

long RandomNumber(long n, bool allowZero);
