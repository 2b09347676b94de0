// The 64 steps of MD5's compression of one block, written once for every lane width: which word
// each step updates, its message word, its shift and its constant.
#pragma once

namespace quorvix::md5steps {

// Runs the four rounds on a, b, c, d (the chaining values copied for this block) with the
// block's sixteen message words x. Steps supplies the step of each round as static member
// templates on the shift: F, G, H and I, each taking (a, b, c, d, x, k) and giving the new a.
// Each file that includes this uses Steps of its own, so every instantiation is its own.
template <class Steps, class Word>
inline __attribute__((always_inline)) void RunSteps(Word& a, Word& b, Word& c, Word& d,
                                                    const Word (&x)[16]) {
    a = Steps::template F<7>(a, b, c, d, x[0], 0xd76aa478);
    d = Steps::template F<12>(d, a, b, c, x[1], 0xe8c7b756);
    c = Steps::template F<17>(c, d, a, b, x[2], 0x242070db);
    b = Steps::template F<22>(b, c, d, a, x[3], 0xc1bdceee);
    a = Steps::template F<7>(a, b, c, d, x[4], 0xf57c0faf);
    d = Steps::template F<12>(d, a, b, c, x[5], 0x4787c62a);
    c = Steps::template F<17>(c, d, a, b, x[6], 0xa8304613);
    b = Steps::template F<22>(b, c, d, a, x[7], 0xfd469501);
    a = Steps::template F<7>(a, b, c, d, x[8], 0x698098d8);
    d = Steps::template F<12>(d, a, b, c, x[9], 0x8b44f7af);
    c = Steps::template F<17>(c, d, a, b, x[10], 0xffff5bb1);
    b = Steps::template F<22>(b, c, d, a, x[11], 0x895cd7be);
    a = Steps::template F<7>(a, b, c, d, x[12], 0x6b901122);
    d = Steps::template F<12>(d, a, b, c, x[13], 0xfd987193);
    c = Steps::template F<17>(c, d, a, b, x[14], 0xa679438e);
    b = Steps::template F<22>(b, c, d, a, x[15], 0x49b40821);

    a = Steps::template G<5>(a, b, c, d, x[1], 0xf61e2562);
    d = Steps::template G<9>(d, a, b, c, x[6], 0xc040b340);
    c = Steps::template G<14>(c, d, a, b, x[11], 0x265e5a51);
    b = Steps::template G<20>(b, c, d, a, x[0], 0xe9b6c7aa);
    a = Steps::template G<5>(a, b, c, d, x[5], 0xd62f105d);
    d = Steps::template G<9>(d, a, b, c, x[10], 0x02441453);
    c = Steps::template G<14>(c, d, a, b, x[15], 0xd8a1e681);
    b = Steps::template G<20>(b, c, d, a, x[4], 0xe7d3fbc8);
    a = Steps::template G<5>(a, b, c, d, x[9], 0x21e1cde6);
    d = Steps::template G<9>(d, a, b, c, x[14], 0xc33707d6);
    c = Steps::template G<14>(c, d, a, b, x[3], 0xf4d50d87);
    b = Steps::template G<20>(b, c, d, a, x[8], 0x455a14ed);
    a = Steps::template G<5>(a, b, c, d, x[13], 0xa9e3e905);
    d = Steps::template G<9>(d, a, b, c, x[2], 0xfcefa3f8);
    c = Steps::template G<14>(c, d, a, b, x[7], 0x676f02d9);
    b = Steps::template G<20>(b, c, d, a, x[12], 0x8d2a4c8a);

    a = Steps::template H<4>(a, b, c, d, x[5], 0xfffa3942);
    d = Steps::template H<11>(d, a, b, c, x[8], 0x8771f681);
    c = Steps::template H<16>(c, d, a, b, x[11], 0x6d9d6122);
    b = Steps::template H<23>(b, c, d, a, x[14], 0xfde5380c);
    a = Steps::template H<4>(a, b, c, d, x[1], 0xa4beea44);
    d = Steps::template H<11>(d, a, b, c, x[4], 0x4bdecfa9);
    c = Steps::template H<16>(c, d, a, b, x[7], 0xf6bb4b60);
    b = Steps::template H<23>(b, c, d, a, x[10], 0xbebfbc70);
    a = Steps::template H<4>(a, b, c, d, x[13], 0x289b7ec6);
    d = Steps::template H<11>(d, a, b, c, x[0], 0xeaa127fa);
    c = Steps::template H<16>(c, d, a, b, x[3], 0xd4ef3085);
    b = Steps::template H<23>(b, c, d, a, x[6], 0x04881d05);
    a = Steps::template H<4>(a, b, c, d, x[9], 0xd9d4d039);
    d = Steps::template H<11>(d, a, b, c, x[12], 0xe6db99e5);
    c = Steps::template H<16>(c, d, a, b, x[15], 0x1fa27cf8);
    b = Steps::template H<23>(b, c, d, a, x[2], 0xc4ac5665);

    a = Steps::template I<6>(a, b, c, d, x[0], 0xf4292244);
    d = Steps::template I<10>(d, a, b, c, x[7], 0x432aff97);
    c = Steps::template I<15>(c, d, a, b, x[14], 0xab9423a7);
    b = Steps::template I<21>(b, c, d, a, x[5], 0xfc93a039);
    a = Steps::template I<6>(a, b, c, d, x[12], 0x655b59c3);
    d = Steps::template I<10>(d, a, b, c, x[3], 0x8f0ccc92);
    c = Steps::template I<15>(c, d, a, b, x[10], 0xffeff47d);
    b = Steps::template I<21>(b, c, d, a, x[1], 0x85845dd1);
    a = Steps::template I<6>(a, b, c, d, x[8], 0x6fa87e4f);
    d = Steps::template I<10>(d, a, b, c, x[15], 0xfe2ce6e0);
    c = Steps::template I<15>(c, d, a, b, x[6], 0xa3014314);
    b = Steps::template I<21>(b, c, d, a, x[13], 0x4e0811a1);
    a = Steps::template I<6>(a, b, c, d, x[4], 0xf7537e82);
    d = Steps::template I<10>(d, a, b, c, x[11], 0xbd3af235);
    c = Steps::template I<15>(c, d, a, b, x[2], 0x2ad7d2bb);
    b = Steps::template I<21>(b, c, d, a, x[9], 0xeb86d391);
}

} // namespace quorvix::md5steps
