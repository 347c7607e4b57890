#include "EmoticonTable.h"

namespace mirthkey {

// Button N of the palette is entry N - 1. The codes are what the messenger turns into
// pictures; the names are the emoticons' Chinese names, used for accessibility.
const std::array<Emoticon, kEmoticonCount> kEmoticons = {{
    {1, u"/jy", u"惊讶"},      {2, u"/pz", u"撇嘴"},    {3, u"/se", u"色"},
    {4, u"/fd", u"发呆"},      {5, u"/dy", u"得意"},    {6, u"/ll", u"流泪"},
    {7, u"/hx", u"害羞"},      {8, u"/bz", u"闭嘴"},    {9, u"/shui", u"睡"},
    {10, u"/dk", u"大哭"},     {11, u"/gg", u"尴尬"},   {12, u"/fn", u"发怒"},
    {13, u"/tp", u"调皮"},     {14, u"/cy", u"呲牙"},   {15, u"/wx", u"微笑"},
    {16, u"/ng", u"难过"},     {17, u"/kuk", u"酷"},    {18, u"/feid", u"非典"},
    {19, u"/zk", u"抓狂"},     {20, u"/tu", u"吐"},     {21, u"/tx", u"偷笑"},
    {22, u"/ka", u"可爱"},     {23, u"/baiy", u"白眼"}, {24, u"/am", u"傲慢"},
    {25, u"/jie", u"饥饿"},    {26, u"/kun", u"困"},    {27, u"/jk", u"惊恐"},
    {28, u"/lh", u"流汗"},     {29, u"/hanx", u"憨笑"}, {30, u"/db", u"大兵"},
    {31, u"/fendou", u"奋斗"}, {32, u"/zhm", u"咒骂"},  {33, u"/yiw", u"疑问"},
    {34, u"/xu", u"嘘"},       {35, u"/yun", u"晕"},    {36, u"/zhem", u"折磨"},
    {37, u"/shuai", u"衰"},    {38, u"/kl", u"骷髅"},   {39, u"/qiao", u"敲打"},
    {40, u"/zj", u"再见"},     {41, u"/shan", u"闪人"}, {42, u"/fad", u"发抖"},
    {43, u"/aiq", u"爱情"},    {44, u"/tiao", u"跳"},   {45, u"/zhao", u"找"},
    {46, u"/mm", u"美眉"},     {47, u"/zt", u"猪头"},   {48, u"/maom", u"猫咪"},
    {49, u"/xg", u"小狗"},     {50, u"/yb", u"拥抱"},   {51, u"/qianc", u"钱"},
    {52, u"/dp", u"灯泡"},     {53, u"/bei", u"酒杯"},  {54, u"/dg", u"蛋糕"},
    {55, u"/shd", u"闪电"},    {56, u"/zhd", u"炸弹"},  {57, u"/dao", u"刀"},
    {58, u"/zq", u"足球"},     {59, u"/yy", u"音乐"},   {60, u"/bb", u"便便"},
    {61, u"/kf", u"咖啡"},     {62, u"/fan", u"饭"},    {63, u"/yw", u"药丸"},
    {64, u"/mg", u"玫瑰"},     {65, u"/dx", u"凋谢"},   {66, u"/wen", u"吻"},
    {67, u"/xin", u"爱心"},    {68, u"/xs", u"心碎"},   {69, u"/hy", u"会议"},
    {70, u"/lw", u"礼物"},     {71, u"/dh", u"电话"},   {72, u"/sj", u"时间"},
    {73, u"/yj", u"邮件"},     {74, u"/ds", u"电视"},   {75, u"/ty", u"太阳"},
    {76, u"/yl", u"月亮"},     {77, u"/qiang", u"强"},  {78, u"/ruo", u"弱"},
    {79, u"/ws", u"握手"},     {80, u"/shl", u"胜利"},  {81, u"/dd", u"多多"},
    {82, u"/mn", u"美女"},     {83, u"/hl", u"汉良"},   {84, u"/mamao", u"毛毛"},
    {85, u"/qz", u"Q仔"},      {86, u"/fw", u"飞吻"},   {87, u"/oh", u"怄火"},
    {88, u"/bj", u"白酒"},     {89, u"/qsh", u"汽水"},  {90, u"/xig", u"西瓜"},
    {91, u"/xy", u"下雨"},     {92, u"/duoy", u"多云"}, {93, u"/xr", u"雪人"},
    {94, u"/xixing", u"星星"}, {95, u"/nv", u"女"},     {96, u"/nan", u"男"},
}};

} // namespace mirthkey
