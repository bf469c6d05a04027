// The engine's elementary functions: sin, cos, tan, atan, exp and log, and
// what the projections build on them (the isometric latitude, sinh, cosh,
// asinh, atanh, the power). Written here rather than taken from the maths
// library, whose last bit depends on the library (glibc, MinGW, musl) and on
// the processor (x87 on Windows, glibc's variants by processor): with only
// IEEE 754 additions, multiplications, divisions and square roots, rounded to
// nearest, no fused multiply-add (-ffp-contract=off) and SSE2 on 32-bit x86,
// every build gives the same bits on every machine.
//
// Each function reduces its argument to a short interval (the exponential
// and the logarithm with tables: of 2^(j/128), of 1/c and log c), then
// evaluates a polynomial. The polynomials are
// near-minimax fits made with mpmath at 50 digits
// (tools/elementary-functions/coefficients.py prints every constant below); each
// function's schema is the classical one named beside it. Measured against
// mpmath on millions of arguments over the engine's ranges, sin, cos, tan,
// atan, exp and log stay within one ulp of the correctly rounded value
// (BENCHMARKS.md gives the figures; a test holds stored correctly rounded
// values).
//
// Header only, inline. sin and cos, atan, exp and log are templates on the
// type of their argument: a double, or a pair of doubles (paires.h) that the
// dispatcher's stages compute two points at a time with. Their special cases
// are selections, not branches, so that both lanes of a pair go through the
// same operations; each lane gets the bits the double would get.
#ifndef GEOKERN_ELEMENTAIRES_H
#define GEOKERN_ELEMENTAIRES_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

#include "paires.h"

namespace elementaires {

// Inlined wherever they are called, the one-point path included: a call would
// cost more than a division, and the caller's unused results (the cosine of
// the isometric latitude's sine) would be computed.
#if defined(__GNUC__)
#define GEOKERN_EN_LIGNE inline __attribute__((always_inline))
#else
#define GEOKERN_EN_LIGNE inline
#endif

namespace coefficients {

// pi/2 in three parts for the reduction (Cody and Waite): the first two to
// 33 bits, so that their products by an integer below 2^20 are exact.
constexpr double DEMI_PI_1 = 1.5707963267341256;
constexpr double DEMI_PI_2 = 6.077100506303966e-11;
constexpr double DEMI_PI_3 = 2.0222662487959506e-21;
constexpr double DEUX_SUR_PI = 0.6366197723675814;
constexpr double PI_SUR_4 = 0.7853981633974483;
// atan(1/2), atan(1), atan(3/2) and pi/2, each as the double nearest and the
// double nearest to the rest.
constexpr double ATAN_HAUT[] = {0.4636476090008061, 0.7853981633974483, 0.982793723247329, 1.5707963267948966};
constexpr double ATAN_BAS[] = {2.2698777452961687e-17, 3.061616997868383e-17, 1.3903311031230998e-17,
                               6.123233995736766e-17};
// 2^(j/128), j = 0 ... 127, each as the double nearest (at 2j) and the double nearest
// to the rest (at 2j + 1); log(2)/128 to 35 bits (its product by an integer below 2^18 is
// exact) and the rest; 128 / log 2.
constexpr double DEUX_J[256] = {
    1.0, 0.0,
    1.0054299011128027, 9.499186535455032e-17,
    1.0108892860517005, -1.5234778603368577e-17,
    1.016378314910953, -5.77217007319966e-17,
    1.0218971486541166, 5.109225028973444e-17,
    1.0274459491187637, -4.9560741746453704e-17,
    1.0330248790212284, 7.600838874027088e-18,
    1.0386341019613787, 5.996273788852511e-17,
    1.0442737824274138, 8.551889705537965e-17,
    1.0499440858006872, 5.592937848127003e-17,
    1.0556451783605572, 1.759325738772092e-18,
    1.061377227289262, -1.1973537085365658e-17,
    1.0671404006768237, -7.899853966841582e-17,
    1.0729348675259756, -3.839668843358824e-18,
    1.0787607977571199, -6.656660436056593e-17,
    1.0846183622133092, 3.166152845816346e-17,
    1.0905077326652577, -3.046782079812471e-17,
    1.0964290818163769, -5.919933484449316e-17,
    1.102382583307841, 5.2660368715706944e-17,
    1.1083684117236787, -8.786813845180527e-17,
    1.1143867425958924, 1.0410278456845571e-16,
    1.1204377524096067, -6.201085906554179e-17,
    1.1265216186082418, 5.165856758795457e-17,
    1.1326385195987192, 3.237356166738e-17,
    1.1387886347566916, 8.912812676025408e-17,
    1.1449721444318042, 4.6412898921700107e-17,
    1.1511892299529827, 3.250710218863827e-17,
    1.1574400736337511, -9.1238712311344e-17,
    1.1637248587775775, 3.8292048369240935e-17,
    1.1700437696832502, -1.8477442017900047e-18,
    1.1763969916502812, 5.554203254218079e-17,
    1.182784710984341, 1.542975430079076e-17,
    1.189207115002721, 3.982015231465646e-17,
    1.1956643920398273, 4.6166036704814814e-17,
    1.202156731452703, 6.644981499252301e-17,
    1.2086843236265816, -4.746725945228984e-17,
    1.215247359980469, -7.712630692681488e-17,
    1.2218460329727576, -1.0611021211402691e-16,
    1.22848053610687, -1.89878163130253e-17,
    1.2351510639369334, -1.0755244344307841e-16,
    1.241857812073484, 4.658027591836937e-17,
    1.2486009771892048, -8.261810999021964e-17,
    1.255380757024691, -6.7113898212968784e-18,
    1.2621973503942507, -3.0844648874738465e-17,
    1.2690509571917332, 2.667932131342186e-18,
    1.275941778396392, 9.91543024421429e-17,
    1.2828700160787783, 1.713594918243561e-17,
    1.2898358734066657, 8.949257530897592e-17,
    1.2968395546510096, 2.5382502794888315e-17,
    1.3038812651919358, 8.647675598267871e-17,
    1.3109612115247644, -7.181536135519454e-17,
    1.318079601266064, -5.4579558271491535e-17,
    1.3252366431597413, -2.8587312100388614e-17,
    1.3324325470831615, -5.101586630916744e-17,
    1.339667524053303, 8.927282594831732e-17,
    1.3469417862329458, 3.224065101254679e-17,
    1.3542555469368927, 7.70094837980299e-17,
    1.3616090206382248, 1.533787661270668e-18,
    1.3690024229745905, 9.593797919118849e-17,
    1.3764359707545302, -6.898588935871801e-17,
    1.383909881963832, -6.770511658794786e-17,
    1.3914243757719262, -4.9061748652889893e-17,
    1.3989796725383112, -9.614213209051323e-17,
    1.4065759938190154, 7.034914812136422e-18,
    1.4142135623730951, -9.667293313452913e-17,
    1.4218926021691656, -1.6077828915890244e-17,
    1.42961333839197, -1.2031642489053655e-17,
    1.4373759974489824, -4.2040340164675566e-17,
    1.4451808069770467, -3.0237581349939873e-17,
    1.4530279958490526, -5.779948609396106e-17,
    1.460917794180647, -5.600377186075216e-17,
    1.4688504333369818, 8.465882756533628e-17,
    1.4768261459394993, -3.483994556892796e-17,
    1.4848451658727524, 1.0780086764407481e-16,
    1.4929077282912648, 1.4192920154284036e-17,
    1.5010140696264256, -6.413767275790235e-17,
    1.5091644275934228, -1.016455327754295e-16,
    1.5173590411982147, -4.308699472043341e-17,
    1.5255981507445384, -1.1024941712342561e-16,
    1.533881997840956, 8.875226844438446e-17,
    1.5422108254079407, 7.949834809697621e-17,
    1.550584877685, -1.4600706590689385e-17,
    1.559004400237837, 3.7812070533575275e-17,
    1.567469639965553, -1.0352061768849722e-16,
    1.5759808451078865, -1.0136916471278304e-17,
    1.5845382652524937, -1.9337717034585703e-17,
    1.593142151342267, -1.0094406542311964e-16,
    1.6017927556826934, -6.054917453527784e-17,
    1.6104903319492543, 2.4707192569797888e-17,
    1.6192351351948637, 2.0941334154229092e-17,
    1.6280274218573478, -6.712955084707084e-17,
    1.6368674497669644, 7.698325071319876e-17,
    1.645755478153965, -1.0125679913674773e-16,
    1.6546917676561943, 9.643294303196029e-17,
    1.6636765803267364, 5.8909926967131e-17,
    1.6727101796415966, -5.476715964599563e-17,
    1.681792830507429, 8.199010020581497e-17,
    1.6909247992693053, -9.66967147439488e-17,
    1.7001063537185235, -8.0237193703977e-18,
    1.709337763100463, -9.868779456632931e-17,
    1.718619298122478, -1.851380418263111e-17,
    1.7279512309618377, -1.0750981861204642e-16,
    1.7373338352737062, 3.164389299292957e-17,
    1.746767386199169, -1.0752290483507515e-16,
    1.7562521603732995, 2.960140695448873e-17,
    1.7657884359332727, 9.461315018083268e-17,
    1.7753764925265212, 6.429731796556572e-17,
    1.785016611318935, 1.5330400121031314e-17,
    1.7947090750031072, 1.8227458427912087e-17,
    1.804454167806624, -5.177222408793318e-17,
    1.8142521755003989, -9.969531538920349e-17,
    1.8241033854070534, -1.0159627862277083e-16,
    1.8340080864093424, 3.283107224245627e-17,
    1.843966568958626, -5.939742026949965e-17,
    1.8539791250833855, 9.761887490727594e-17,
    1.864046048397789, 6.540912680620572e-17,
    1.8741676341103, -6.122763413004143e-17,
    1.8843441790323345, -8.226593125533711e-17,
    1.8945759815869656, 3.4034035352165297e-17,
    1.9048633418176741, 6.533857514718279e-17,
    1.9152065613971474, -1.0619946056195963e-16,
    1.925605943636125, -9.914963769693741e-17,
    1.9360617934922943, 1.0332385960676326e-16,
    1.9465744175792332, 6.811022349533877e-17,
    1.9571441241754002, 8.960767791036668e-17,
    1.9677712232331759, -1.0314928011531132e-16,
    1.978456026387951, 4.0388753109278167e-17,
    1.9891988469672663, 8.2051326383692e-18,
};
constexpr double LN2_SUR_128_HAUT = 0.0054152123482253955;
constexpr double LN2_SUR_128_BAS = -1.0082281460997769e-13;
constexpr double CENT_VINGT_HUIT_SUR_LN2 = 184.6649652337873;
// exp r - 1 - r = r^2 (1/2 + r/6 + r^2/24 + r^3/120) to 2^-60 for |r| <= log(2)/256
constexpr double EXP_Q[] = {0.5, 1.0 / 6, 1.0 / 24, 1.0 / 120};
// log 2 to 32 bits (its product by an integer below 2^21 is exact, a multiple
// of 2^-32) and the rest.
constexpr double LN2_HAUT = 0.6931471806019545;
constexpr double LN2_BAS = -4.2009150726810846e-11;

// sin r = r + r^3 P(r^2) on |r| <= pi/4
constexpr double SIN_P[] = {-0.16666666666666666,    0.008333333333333331,   -0.00019841269841265065,
                            2.7557319219339167e-06,  -2.5052106232447578e-08, 1.6058531618986147e-10,
                            -7.586697117706918e-13};
// cos r = 1 - r^2/2 + r^4 P(r^2) on |r| <= pi/4
constexpr double COS_P[] = {0.041666666666666664,   -0.0013888888888887398, 2.480158729876569e-05,
                            -2.7557317271729793e-07, 2.08761462684032e-09,   -1.1382632425521717e-11};
// atan t = t + t^3 P(t^2) on |t| <= 7/16
constexpr double ATAN_P[] = {-0.3333333333333333,  0.1999999999999941,   -0.14285714285566806, 0.11111111096645038,
                             -0.09090908355602592, 0.07692285554889286,  -0.06666241923359964, 0.05876946456755061,
                             -0.05216679739313656, 0.04492259293193656,  -0.033128134256069586,
                             0.014773184616983806};
// r coth(r/2) = 2 + r^2 P(r^2) on |r| <= log(2)/2
constexpr double EXP_P[] = {0.16666666666666666,    -0.0027777777777777545, 6.613756613530131e-05,
                            -1.6534390729514401e-06, 4.1752220525280315e-08, -1.0472482723285645e-09};
// log(1 + r) = r - r^2/2 + r^3 P(r) on |r| <= 2^-8
constexpr double LOG_Q[] = {0.3333333333333332, -0.24999999999104947, 0.2000000001011613, -0.16666903178582568,
                            0.14284963444755275};
// The logarithm's table, by the index j of m's interval (Log): 1/c to 20 bits,
// and log c in two parts, the first a multiple of 2^-32.
constexpr double LOG_INVC[128] = {
    1.4463272094726562, 1.438201904296875, 1.4301681518554688, 1.4222221374511719,
    1.4143638610839844, 1.4065933227539062, 1.3989067077636719, 1.3913040161132812,
    1.3837833404541016, 1.3763446807861328, 1.3689842224121094, 1.3617019653320312,
    1.3544979095458984, 1.3473682403564453, 1.3403148651123047, 1.333333969116211,
    1.326425552368164, 1.3195877075195312, 1.3128204345703125, 1.306121826171875,
    1.2994918823242188, 1.292928695678711, 1.2864322662353516, 1.2800006866455078,
    1.2736320495605469, 1.2673263549804688, 1.2610836029052734, 1.2549018859863281,
    1.2487812042236328, 1.2427177429199219, 1.236715316772461, 1.2307701110839844,
    1.2248802185058594, 1.2190475463867188, 1.2132701873779297, 1.2075462341308594,
    1.2018775939941406, 1.1962623596191406, 1.1906986236572266, 1.1851844787597656,
    1.1797237396240234, 1.1743125915527344, 1.1689491271972656, 1.1636371612548828,
    1.1583709716796875, 1.1531524658203125, 1.1479816436767578, 1.1428565979003906,
    1.137777328491211, 1.1327438354492188, 1.1277542114257812, 1.1228065490722656,
    1.1179046630859375, 1.1130428314208984, 1.108224868774414, 1.1034488677978516,
    1.0987129211425781, 1.0940170288085938, 1.0893611907958984, 1.0847454071044922,
    1.080169677734375, 1.0756301879882812, 1.0711288452148438, 1.0666675567626953,
    1.0622406005859375, 1.057851791381836, 1.053497314453125, 1.0491809844970703,
    1.0448970794677734, 1.0406513214111328, 1.03643798828125, 1.0322589874267578,
    1.0281124114990234, 1.0240001678466797, 1.0199203491210938, 1.0158729553222656,
    1.0118579864501953, 1.00787353515625, 1.0039215087890625, 1.0,
    0.99224853515625, 0.9846153259277344, 0.9770994186401367, 0.9696969985961914,
    0.9624061584472656, 0.9552240371704102, 0.9481477737426758, 0.9411764144897461,
    0.9343061447143555, 0.9275360107421875, 0.920863151550293, 0.9142856597900391,
    0.907801628112793, 0.9014081954956055, 0.8951053619384766, 0.8888893127441406,
    0.8827590942382812, 0.8767127990722656, 0.8707485198974609, 0.8648653030395508,
    0.8590602874755859, 0.8533334732055664, 0.847681999206543, 0.8421049118041992,
    0.8366012573242188, 0.8311691284179688, 0.8258066177368164, 0.8205127716064453,
    0.8152866363525391, 0.8101263046264648, 0.8050317764282227, 0.8000001907348633,
    0.7950305938720703, 0.7901229858398438, 0.7852764129638672, 0.7804880142211914,
    0.7757577896118164, 0.7710847854614258, 0.7664670944213867, 0.7619047164916992,
    0.7573966979980469, 0.7529411315917969, 0.7485380172729492, 0.7441864013671875,
    0.7398843765258789, 0.7356319427490234, 0.7314281463623047, 0.7272729873657227,
};
constexpr double LOG_C_HAUT[128] = {
    -0.36902738409116864, -0.36339365574531257, -0.35779202613048255, -0.35222053388133645,
    -0.3466798618901521, -0.3411706977058202, -0.335691008483991, -0.33024144847877324,
    -0.32482129894196987, -0.3194312029518187, -0.31406902126036584, -0.3087353624869138,
    -0.303430839208886, -0.29815323813818395, -0.29290456022135913, -0.28768254932947457,
    -0.28248776961117983, -0.27731934492476285, -0.27217782638035715, -0.26706230849958956,
    -0.261973328422755, -0.2569099518004805, -0.2518727018032223, -0.24686061427928507,
    -0.2418727003969252, -0.23690944910049438, -0.2319713537581265, -0.2270573910791427,
    -0.22216803906485438, -0.21730070933699608, -0.2124589269515127, -0.20764008001424372,
    -0.20284305838868022, -0.1980698541738093, -0.1933193481527269, -0.18859039503149688,
    -0.18388499575667083, -0.17920199572108686, -0.17454021354205906, -0.16989844082854688,
    -0.1652802920434624, -0.1606829478405416, -0.15610516327433288, -0.15155058354139328,
    -0.14701468334533274, -0.1424994666595012, -0.13800530787557364, -0.13353091571480036,
    -0.12907664733938873, -0.12464286247268319, -0.12022823165170848, -0.11583139840513468,
    -0.11145609663799405, -0.10709755448624492, -0.10275951796211302, -0.09844060917384923,
    -0.09413942298851907, -0.08985626953653991, -0.08559146104380488, -0.08134531159885228,
    -0.07711813785135746, -0.07290671113878489, -0.0687130878213793, -0.06453935569152236,
    -0.06038045138120651, -0.056240239879116416, -0.05211540497839451, -0.048009844962507486,
    -0.04391839192248881, -0.03984678769484162, -0.03578982315957546, -0.03174959239549935,
    -0.027724510757252574, -0.023716690484434366, -0.01972453505732119, -0.015748297329992056,
    -0.011788231320679188, -0.007842700695618987, -0.003913839813321829, 0.0,
    0.007781663676723838, 0.015504246111959219, 0.023166873026639223, 0.030771628953516483,
    0.03831871529109776, 0.045809372095391154, 0.053244909504428506, 0.060624681413173676,
    0.06795111647807062, 0.07522365963086486, 0.08244384056888521, 0.08961221831850708,
    0.09672939544543624, 0.10379707673564553, 0.11081384471617639, 0.11778255878016353,
    0.12470294209197164, 0.13157582143321633, 0.13840206945315003, 0.14518150314688683,
    0.15191617608070374, 0.15860486635938287, 0.16524971439503133, 0.1718506740871817,
    0.1784077170304954, 0.18492198083549738, 0.19139465177431703, 0.19782580295577645,
    0.20421552658081055, 0.21056511183269322, 0.2168735284358263, 0.22314331284724176,
    0.22937468229793012, 0.2355666672810912, 0.24171950481832027, 0.2478358957450837,
    0.25391493435017765, 0.25995694333687425, 0.26596351130865514, 0.2719337751623243,
    0.27786812325939536, 0.28376823267899454, 0.2896332850214094, 0.2954637361690402,
    0.301261352840811, 0.3070253632031381, 0.3127562911249697, 0.31845337338745594,
};
constexpr double LOG_C_BAS[128] = {
    1.1035308172079141e-11, -2.3557232800787666e-11, 6.15590862936949e-11, -1.0336909678782571e-10,
    1.9531530200800146e-11, -9.230037018679606e-11, -3.2047746148643134e-11, 2.6803903271759377e-11,
    -8.425079705312209e-11, 5.1876224156328176e-11, -7.968676450632876e-11, 4.659718676629322e-11,
    7.117061072105468e-12, -7.04326424967597e-11, -1.0380913479813771e-10, 4.0649124604366947e-11,
    -5.342613833305107e-11, -9.611449779839174e-11, 6.918802472229259e-11, 8.781620612225112e-11,
    1.114471255523161e-10, -4.8443052362860464e-11, 9.176901095675228e-11, -9.389981826739827e-11,
    6.36787880531303e-11, 4.540495561213169e-11, 7.906655308184524e-11, 4.844315659381713e-11,
    2.915868620841392e-11, -1.0869963418459946e-10, 6.587520381260599e-11, -1.948228907806499e-11,
    -1.5611514180407675e-11, 1.6362046860518425e-11, -1.0367138166905196e-10, 8.462914461879742e-11,
    1.0863623218503753e-10, 1.941081702013759e-11, -2.1646710786091713e-11, 7.977479843607145e-11,
    -6.129641176675927e-11, -9.389691442897846e-11, -4.5612611925468927e-11, -3.898765171892231e-11,
    -1.1830365549934202e-11, 9.884355445741065e-11, -6.535419117958265e-11, -7.24503753288784e-11,
    -5.4904012808743534e-11, 3.298020768748971e-11, -8.832043541616431e-12, 1.1261344203155947e-10,
    6.179363386973529e-11, 7.53332414488435e-11, 7.120474126241557e-11, -8.106238852172889e-11,
    -5.892408935553737e-11, 1.932541689470397e-11, 9.508913815602487e-11, -2.950012963070625e-11,
    4.2247480530390835e-11, -6.465634341170836e-11, -6.364429546141691e-11, 8.927249845318292e-11,
    -3.0544156727387917e-12, 1.5734555786001025e-11, -1.1399412033903825e-10, -7.242741975035063e-11,
    -9.638481835795822e-11, -2.0482015955702446e-11, 5.2508673641367456e-11, 1.1647096674707811e-11,
    -4.698607991611283e-12, -4.5641374519239315e-11, -9.277934189133779e-11, -3.3500560967070187e-11,
    -1.0280714150010839e-10, 7.186498420911271e-11, 9.68320514973803e-11, 0.0,
    -7.171340522843358e-11, 2.8652586919507197e-11, -9.602420733053195e-12, -8.908473854196803e-11,
    -5.61997254164319e-13, 2.3143350250344906e-11, -1.0476662063633215e-10, 7.907718791031743e-12,
    -8.404317644586789e-11, 2.533019034773392e-11, 5.5577960411765e-12, -2.4173390942266963e-11,
    4.5143041518405e-11, 6.810079438225214e-11, 8.360794115217868e-11, 3.917541168034149e-11,
    -3.267349361816574e-11, -8.61561544636569e-11, 8.626089176435704e-11, 5.825882263839713e-11,
    5.5597977156450656e-11, -9.550398234682793e-11, 6.131719122242314e-11, 7.207800422877409e-11,
    4.6969443669791673e-11, 3.07099098481469e-11, 5.9656545339544e-11, -2.1210020908081418e-11,
    -5.32807381965345e-11, 1.422607792192824e-12, 8.293918782713587e-11, 4.841731660847605e-11,
    -8.762886638427061e-11, 7.8301085512046e-11, -6.47563580612789e-11, -6.136795094728027e-11,
    -4.06582903515713e-11, -4.5065874827182146e-11, -6.441949217476019e-11, -7.403599876985557e-11,
    -8.143158462609464e-11, 5.62966136945949e-11, 1.1105271535376785e-10, -1.1224884303121896e-10,
    8.909280740912914e-11, -8.262625149215293e-11, 2.4382592591855093e-11, 1.03273972050887e-10,
};

// The polynomial p[0] + p[1] z + ... + p[N-1] z^(N-1) by Estrin's scheme:
// pairs p[2i] + p[2i+1] z, then pairs of those with z^2, with z^4...: a few
// more multiplications than Horner's scheme, but a chain of about log2(N)
// steps instead of N, which a single point's computation waits on.
template <int N, class T>
GEOKERN_EN_LIGNE T Estrin(const double* p, T z) {
    T termes[(N + 1) / 2];
    for (int i = 0; i < N / 2; ++i) termes[i] = p[2 * i] + p[2 * i + 1] * z;
    if (N % 2 != 0) termes[N / 2] = Diffuse<T>(p[N - 1]);
    T puissance = z * z;
    for (int n = (N + 1) / 2; n > 1; n = (n + 1) / 2) {
        for (int i = 0; i < n / 2; ++i) termes[i] = termes[2 * i] + termes[2 * i + 1] * puissance;
        if (n % 2 != 0) termes[n / 2] = termes[n - 1];
        if (n > 2) puissance = puissance * puissance;
    }
    return termes[0];
}
template <class T, int N>
GEOKERN_EN_LIGNE T Polynome(const double (&p)[N], T z) {
    return Estrin<N>(p, z);
}

// 1.5 * 2^52: (x + ARRONDI) - ARRONDI is x rounded to the nearest integer,
// ties to even, for |x| < 2^51.
// The sum's bits are then those of 1.5 * 2^52 + k: its lowest bits are k's
// two's complement.
constexpr double ARRONDI = 6755399441055744.0;

// 2^k for a normal result (-1022 <= k <= 1023), from the bits of 1.5 * 2^52 + k.
template <class B>
inline B BitsDeuxPuissance(B somme_arrondi) {
    return (somme_arrondi + 1023) << 52;
}

// The exact product a * b as haut + bas (Dekker's, with Veltkamp's splitting),
// for |a|, |b| < 2^995.
inline void ProduitExact(double a, double b, double* haut, double* bas) {
    constexpr double SCISSION = 134217729.0;  // 2^27 + 1
    const double ta = SCISSION * a, tb = SCISSION * b;
    const double ah = ta - (ta - a), al = a - ah;
    const double bh = tb - (tb - b), bl = b - bh;
    *haut = a * b;
    *bas = ((ah * bh - *haut) + ah * bl + al * bh) + al * bl;
}

// x = q pi/2 + r + rl, |r| <= pi/4 (a little more after rounding), rl the
// rest of r below its last bit; q's lowest bits in those of `somme`. Exact to
// about 2^-100 relative to x for |x| < 2^20 pi/2; beyond, the product of q by
// pi/2's first part is rounded and the reduction loses bits (the engine's
// angles stay far below). Infinite and NaN arguments, and |x| >= 2^50, give a
// NaN r.
template <class T>
struct REDUIT {
    T r, rl, somme;
};
template <class T>
GEOKERN_EN_LIGNE REDUIT<T> ReduitDemiPi(T x) {
    const T somme = x * DEUX_SUR_PI + ARRONDI;
    const T q = somme - ARRONDI;
    const T a = x - q * DEMI_PI_1;  // exact
    const T b = q * DEMI_PI_2;      // exact
    // a - b with its rounding error (Knuth's two-sum), then the third part.
    const T h = a - b;
    const T bb = h - a;
    const T l = ((a - (h - bb)) - (b + bb)) - q * DEMI_PI_3;
    const T r = h + l;
    const T rl = (h - r) + l;
    const auto petit = Abs(x) <= Diffuse<T>(PI_SUR_4);  // no reduction (and -0.0 kept)
    const auto reductible = Abs(x) < Diffuse<T>(1125899906842624.0);
    return {Choix(petit, x, Choix(reductible, r, Diffuse<T>(std::numeric_limits<double>::quiet_NaN()))),
            Choix(petit, Diffuse<T>(0.0), rl), somme};
}

// sin(r + rl) and cos(r + rl) for |r| <= pi/4 (Cody and Waite's kernels, in
// the form of Sun's fdlibm): the polynomial, and the first-order term of rl.
template <class T>
GEOKERN_EN_LIGNE T NoyauSin(T r, T rl) {
    const T z = r * r;
    const T v = z * r;
    const T p = Estrin<6>(SIN_P + 1, z);
    // sin(r + rl) = sin r + rl cos r = r + v (P0 + z p) + rl (1 - z/2)
    return r - ((z * (0.5 * rl - v * p) - rl) - v * SIN_P[0]);
}
template <class T>
GEOKERN_EN_LIGNE T NoyauCos(T r, T rl) {
    const T z = r * r;
    const T p = z * Polynome(COS_P, z);
    // 1 - z/2 rounded, and what its rounding lost; cos(r + rl) = cos r - rl r.
    const T demi = 0.5 * z;
    const T w = 1.0 - demi;
    return w + (((1.0 - w) - demi) + (z * p - r * rl));
}

}  // namespace coefficients

// sin and cos of one angle, with one reduction.
template <class T>
GEOKERN_EN_LIGNE void SinCos(T x, T* sinus, T* cosinus) {
    using namespace coefficients;
    const REDUIT<T> a = ReduitDemiPi(x);
    // sin x = x below 2^-27, where x^3/6 is below half an ulp of x (and -0.0 stays -0.0).
    const T s = Choix(Abs(x) < Diffuse<T>(7.450580596923828e-09), x, NoyauSin(a.r, a.rl));
    const T c = NoyauCos(a.r, a.rl);
    // q odd: sin x = cos r, cos x = -sin r; q = 2 or 3 (modulo 4): both negated.
    const auto impair = MasqueBit(Bits(a.somme), 0);
    const auto oppose = MasqueBit(Bits(a.somme), 1);
    const T s1 = Choix(impair, c, s), c1 = Choix(impair, -s, c);
    *sinus = Choix(oppose, -s1, s1);
    *cosinus = Choix(oppose, -c1, c1);
}
inline double Sin(double x) {
    double s, c;
    SinCos(x, &s, &c);
    return s;
}
inline double Cos(double x) {
    double s, c;
    SinCos(x, &s, &c);
    return c;
}

// tan x as sin x / cos x, both carried to about 2^-60 beyond their last bit
// as unevaluated sums and divided in double-double arithmetic: the only
// rounding of weight is the last one.
inline double Tan(double x) {
    using namespace coefficients;
    if (std::fabs(x) < 7.450580596923828e-09) return x;  // x^3/3 below half an ulp
    const REDUIT<double> a = ReduitDemiPi(x);
    const double r = a.r, rl = a.rl;
    const double z = r * r;
    double zh, zl;  // r^2 exactly
    ProduitExact(r, r, &zh, &zl);
    // sin: r + (r^3 P(z) + rl (1 - z/2))
    const double s_haut = r;
    const double s_bas = z * r * Polynome(SIN_P, z) + rl * (1.0 - 0.5 * z);
    // cos: 1 - z/2 rounded, then what the rounding and r^2's lost, the
    // polynomial and the first-order term of rl.
    const double demi = 0.5 * zh;
    const double c_haut = 1.0 - demi;
    const double c_bas = (((1.0 - c_haut) - demi) - 0.5 * zl) + (z * z * Polynome(COS_P, z) - r * rl);
    // Each as its double and the rest below its last bit (Dekker's fast two-sum).
    const double sinus = s_haut + s_bas, sinus_bas = (s_haut - sinus) + s_bas;
    const double cosinus = c_haut + c_bas, cosinus_bas = (c_haut - cosinus) + c_bas;
    // Odd quadrants: tan x = -cos r / sin r.
    const bool impair = (Bits(a.somme) & 1) != 0;
    const double n_haut = impair ? cosinus : sinus, n_bas = impair ? cosinus_bas : sinus_bas;
    const double d_haut = impair ? -sinus : cosinus, d_bas = impair ? -sinus_bas : cosinus_bas;
    const double q = n_haut / d_haut;
    double p_haut, p_bas;
    ProduitExact(q, d_haut, &p_haut, &p_bas);
    return q + ((((n_haut - p_haut) - p_bas) + n_bas) - q * d_bas) / d_haut;
}

// atan x: the argument brought below 7/16 by atan x = atan c + atan((x - c) / (1 + x c))
// with c = 1/2, 1, 3/2, or infinity (Sun's fdlibm's schema), then the polynomial.
template <class T>
GEOKERN_EN_LIGNE T ArcTangente(T x) {
    using namespace coefficients;
    const T ax = Abs(x);
    const auto m0 = ax < Diffuse<T>(0.4375), m1 = ax < Diffuse<T>(0.6875), m2 = ax < Diffuse<T>(1.1875),
               m3 = ax < Diffuse<T>(2.4375);
    // t = (x - c) / (1 + x c) in each range's exact form; ax / 1 is ax.
    const T numerateur = Choix(m0, ax, Choix(m1, 2.0 * ax - 1.0, Choix(m2, ax - 1.0, Choix(m3, ax - 1.5,
                                                                                           Diffuse<T>(-1.0)))));
    const T denominateur = Choix(m0, Diffuse<T>(1.0), Choix(m1, 2.0 + ax, Choix(m2, ax + 1.0, Choix(m3, 1.0 + 1.5 * ax,
                                                                                                    ax))));
    const T t = numerateur / denominateur;
    const T haut = Choix(m1, Diffuse<T>(ATAN_HAUT[0]), Choix(m2, Diffuse<T>(ATAN_HAUT[1]),
                                                             Choix(m3, Diffuse<T>(ATAN_HAUT[2]), Diffuse<T>(ATAN_HAUT[3]))));
    const T bas = Choix(m1, Diffuse<T>(ATAN_BAS[0]), Choix(m2, Diffuse<T>(ATAN_BAS[1]),
                                                           Choix(m3, Diffuse<T>(ATAN_BAS[2]), Diffuse<T>(ATAN_BAS[3]))));
    const T z = t * t;
    const T reste = t * z * Polynome(ATAN_P, z);
    T resultat = CopieSigne(Choix(m0, t + reste, haut + ((reste + bas) + t)), x);
    resultat = Choix(ax < Diffuse<T>(7.450580596923828e-09), x, resultat);  // x^3/3 below half an ulp
    // From 2^66 atan x is pi/2 to the last bit; NaN stays NaN.
    const T infini = Choix(x != x, x, CopieSigne(Diffuse<T>(ATAN_HAUT[3] + ATAN_BAS[3]), x));
    return Choix(ax < Diffuse<T>(7.378697629483821e19), resultat, infini);
}

// exp x after Tang's table-driven method (ACM TOMS 15, 1989): x = (128 k + j)
// log(2)/128 + r, exp x = 2^k 2^(j/128) exp r, the table's entry in two parts.
template <class T>
GEOKERN_EN_LIGNE T Exp(T x) {
    using namespace coefficients;
    // x = (128 k + j) log(2) / 128 + r, |r| <= log(2)/256: exp x = 2^k 2^(j/128) exp r.
    const T somme = x * CENT_VINGT_HUIT_SUR_LN2 + ARRONDI;
    const T kj = somme - ARRONDI;
    const T r = (x - kj * LN2_SUR_128_HAUT) - kj * LN2_SUR_128_BAS;  // the first product exact
    const auto b = Bits(somme);
    const auto j = b & 127;
    const T haut = Cherche(DEUX_J, j + j), bas = Cherche(DEUX_J + 1, j + j);
    const T p = r + (r * r) * Polynome(EXP_Q, r);  // exp r - 1
    const T y = haut + (bas + haut * p);
    // y 2^k, k = floor(kj / 128) from the bits of 1.5 * 2^52 + kj; k = 1024 in
    // two steps, and below -1021 (towards the subnormals) through 2^-1000.
    const auto bk = b >> 7;
    const T k = (kj - (Reel(j | 0x4330000000000000ULL) - 4503599627370496.0)) * 0.0078125;
    const T normal = y * Reel(BitsDeuxPuissance(bk));
    const T grand = y * 2.0 * Reel(BitsDeuxPuissance(bk - 1));
    const T petit = (y * Reel(BitsDeuxPuissance(bk + 1000))) * 9.332636185032189e-302;  // 2^-1000
    T resultat = Choix(k > Diffuse<T>(1023.0), grand, Choix(k >= Diffuse<T>(-1021.0), normal, petit));
    resultat = Choix(Abs(x) < Diffuse<T>(3.725290298461914e-09), 1.0 + x, resultat);  // 2^-28
    resultat = Choix(x > Diffuse<T>(-745.1332191019412), resultat, Diffuse<T>(0.0));
    const T infini = Choix(x != x, x, Diffuse<T>(std::numeric_limits<double>::infinity()));
    return Choix(x < Diffuse<T>(709.782712893384), resultat, infini);
}

// log x after Tang's table-driven method (ACM TOMS 16, 1990), without its
// division: x = 2^k m with m in [0.6875 + 2^-9, 1.375 + 2^-8), c = 1 / LOG_INVC[j]
// for m's interval j (c = 1 about 1), and log x = k log 2 + log c + log(1 + r),
// r = m / c - 1.
// LOG_INVC[j] has 20 bits: it multiplies m's first 21 bits and m's rest
// exactly, and r is their sum, with what its rounding lost.
template <class T>
GEOKERN_EN_LIGNE T Log(T x) {
    using namespace coefficients;
    // A subnormal is scaled by 2^54 first.
    const auto subnormal = x < Diffuse<T>(2.2250738585072014e-308);
    const T xn = Choix(subnormal, x * 18014398509481984.0, x);
    // x's bits less those of 0.6875 + 2^-9, plus 1024 in the exponent field:
    // k + 1024 in the first 12 bits, m's interval in the next 7, m's bits in
    // the last 52.
    const auto decale = Bits(xn) + (0x4000000000000000ULL - 0x3fe6100000000000ULL);
    const auto j = (decale >> 45) & 127;
    // k as a double: the bits of 2^52 + k + 1024, less 2^52 + 1024.
    const T k = (Reel((decale >> 52) | 0x4330000000000000ULL) - 4503599627371520.0) +
                Choix(subnormal, Diffuse<T>(-54.0), Diffuse<T>(0.0));
    const auto bits_m = (decale & 0x000fffffffffffffULL) + 0x3fe6100000000000ULL;
    const T m = Reel(bits_m);
    const T m_haut = Reel(bits_m & 0xffffffff00000000ULL);  // m's first 21 bits
    const T inverse = Cherche(LOG_INVC, j);
    const T a = m_haut * inverse - 1.0;  // exact: the product has 41 bits and is near 1
    const T b = (m - m_haut) * inverse;  // exact: 32 bits by 20
    // r = a + b and what its rounding lost (Knuth's two-sum).
    const T r = a + b;
    const T bb = r - a;
    const T r_bas = (a - (r - bb)) + (b - bb);
    // k log 2 + log c: exact, both multiples of 2^-32 below 2^10; then r
    // added with what the sum lost (Dekker's fast two-sum: t is 0 or has at
    // least r's exponent).
    const T t = k * LN2_HAUT + Cherche(LOG_C_HAUT, j);
    const T haut = t + r;
    const T perte = (t - haut) + r;
    const T r2 = r * r;
    const T queue = r2 * (r * Polynome(LOG_Q, r) - 0.5);  // log(1 + r) - r
    T resultat = haut + (queue + (perte + (r_bas + (k * LN2_BAS + Cherche(LOG_C_BAS, j)))));
    const double infini = std::numeric_limits<double>::infinity();
    resultat = Choix(x == Diffuse<T>(infini), x, resultat);
    resultat = Choix(x >= Diffuse<T>(0.0), resultat, Diffuse<T>(std::numeric_limits<double>::quiet_NaN()));
    return Choix(x == Diffuse<T>(0.0), Diffuse<T>(-infini), resultat);
}

// log(1 + u) without the loss of u's bits below 1's last one (Goldberg's
// correction: 1 + u rounded is w, and log w (w - 1) / u's ratio is exact).
inline double Log1p(double u) {
    const double w = 1.0 + u;
    if (w == 1.0) return u;
    return Log(w) * (u / (w - 1.0));
}

// exp x - 1: for |x| <= log(2)/2 from the exponential's own terms, without
// the subtraction.
inline double Expm1(double x) {
    using namespace coefficients;
    if (std::fabs(x) < 3.725290298461914e-09) return x;
    if (!(std::fabs(x) <= 0.34657359027997264)) return Exp(x) - 1.0;
    const double z = x * x;
    const double c = x - z * Polynome(EXP_P, z);
    return x + (x * c) / (2.0 - c);
}

// x^y for x > 0, as exp(y log x): the engine's powers have y and log x small.
inline double Puissance(double x, double y) { return Exp(y * Log(x)); }

inline double Sinh(double x) {
    const double e = Expm1(std::fabs(x));
    return std::copysign(0.5 * (e + e / (e + 1.0)), x);
}
inline double Cosh(double x) {
    const double e = Exp(std::fabs(x));
    return 0.5 * (e + 1.0 / e);
}
// asinh x = log(x + sqrt(1 + x^2)) = log1p(x + x^2 / (1 + sqrt(1 + x^2))).
inline double Asinh(double x) {
    const double a = std::fabs(x);
    const double resultat = a > 1e8 ? Log(a) + coefficients::LN2_HAUT + coefficients::LN2_BAS
                                    : Log1p(a + a * a / (1.0 + std::sqrt(1.0 + a * a)));
    return std::copysign(resultat, x);
}
// atanh x = log((1 + x) / (1 - x)) / 2 = log1p(2x / (1 - x)) / 2.
inline double Atanh(double x) {
    const double a = std::fabs(x);
    return std::copysign(0.5 * Log1p((a + a) / (1.0 - a)), x);
}

// Two independent arguments of one function. A point alone has no other point
// to share a pair's lanes with, but it has pairs of its own: the sines of its
// latitude and of its longitude (or of the Lambert angle at the pole), the
// arc tangents of the datum change. As a double they go through the two lanes
// of one pair, for the instructions and the branch-free selections of one
// evaluation; each lane gets the bits of its own evaluation. Wider types
// evaluate them one after the other.
template <class T>
GEOKERN_EN_LIGNE void SinCosDeux(T a, T b, T* sinus_a, T* cosinus_a, T* sinus_b, T* cosinus_b) {
    SinCos(a, sinus_a, cosinus_a);
    SinCos(b, sinus_b, cosinus_b);
}
template <>
GEOKERN_EN_LIGNE void SinCosDeux<double>(double a, double b, double* sinus_a, double* cosinus_a, double* sinus_b,
                                         double* cosinus_b) {
    Paire sinus, cosinus;
    SinCos(Paire{a, b}, &sinus, &cosinus);
    *sinus_a = sinus[0];
    *cosinus_a = cosinus[0];
    *sinus_b = sinus[1];
    *cosinus_b = cosinus[1];
}
template <class T>
GEOKERN_EN_LIGNE void ArcTangenteDeux(T a, T b, T* atan_a, T* atan_b) {
    *atan_a = ArcTangente(a);
    *atan_b = ArcTangente(b);
}
template <>
GEOKERN_EN_LIGNE void ArcTangenteDeux<double>(double a, double b, double* atan_a, double* atan_b) {
    const Paire t = ArcTangente(Paire{a, b});
    *atan_a = t[0];
    *atan_b = t[1];
}

// floor and ceil without a call into the maths library (which x86-64 makes for
// want of SSE4.1): the conversion to a 64-bit integer truncates exactly below
// 2^52, where every double is an integer anyway; the result has the sign of
// the argument, as floor and ceil give it (ceil(-0.3) is -0.0).
inline double Plancher(double reel) {
    if (!(std::fabs(reel) < 4503599627370496.0)) return std::floor(reel);
    double entier = static_cast<double>(static_cast<long long>(reel));
    if (entier > reel) entier -= 1.0;
    return std::copysign(entier, reel);
}
inline double Plafond(double reel) {
    if (!(std::fabs(reel) < 4503599627370496.0)) return std::ceil(reel);
    double entier = static_cast<double>(static_cast<long long>(reel));
    if (entier < reel) entier += 1.0;
    return std::copysign(entier, reel);
}

}  // namespace elementaires

#endif
