#!/bin/sh
# Writes the keys of the end-to-end session to standard output:
# Enter at the start table, every exponent 1 to 32 in 3n+1, J and the three
# listings of 32, 3n-1 (M) with every exponent and the explorer's runs, then
# compressed (K) 3n-1 and (M) 3n+1 with every exponent, Q and one more key.
exponents() {
    i=1
    while [ "$i" -le 32 ]; do
        echo "$i"
        i=$((i + 1))
    done
}
echo              # the start table
exponents         # 3n+1 plain
printf 'J\nF\nD\nG\n'
echo M            # 3n-1 plain
exponents
printf 'A\nC\n0027\n66\n88\n99\n'
echo K            # 3n-1 compressed
exponents
echo M            # 3n+1 compressed
exponents
printf 'Q\n\n'
