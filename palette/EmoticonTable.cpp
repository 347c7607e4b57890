// SPDX-License-Identifier: GPL-3.0-or-later
#include "EmoticonTable.h"

namespace mirthkey {

// The codes are what the messenger turns into
// pictures; the names are the emoticons' Chinese names, used for accessibility.
const std::array<Emoticon, kEmoticonCount> kEmoticons = {{
    {u"/jy", u"惊讶"},   {u"/pz", u"撇嘴"},     {u"/se", u"色"},       {u"/fd", u"发呆"},
    {u"/dy", u"得意"},   {u"/ll", u"流泪"},     {u"/hx", u"害羞"},     {u"/bz", u"闭嘴"},
    {u"/shui", u"睡"},   {u"/dk", u"大哭"},     {u"/gg", u"尴尬"},     {u"/fn", u"发怒"},
    {u"/tp", u"调皮"},   {u"/cy", u"呲牙"},     {u"/wx", u"微笑"},     {u"/ng", u"难过"},
    {u"/kuk", u"酷"},    {u"/feid", u"非典"},   {u"/zk", u"抓狂"},     {u"/tu", u"吐"},
    {u"/tx", u"偷笑"},   {u"/ka", u"可爱"},     {u"/baiy", u"白眼"},   {u"/am", u"傲慢"},
    {u"/jie", u"饥饿"},  {u"/kun", u"困"},      {u"/jk", u"惊恐"},     {u"/lh", u"流汗"},
    {u"/hanx", u"憨笑"}, {u"/db", u"大兵"},     {u"/fendou", u"奋斗"}, {u"/zhm", u"咒骂"},
    {u"/yiw", u"疑问"},  {u"/xu", u"嘘"},       {u"/yun", u"晕"},      {u"/zhem", u"折磨"},
    {u"/shuai", u"衰"},  {u"/kl", u"骷髅"},     {u"/qiao", u"敲打"},   {u"/zj", u"再见"},
    {u"/shan", u"闪人"}, {u"/fad", u"发抖"},    {u"/aiq", u"爱情"},    {u"/tiao", u"跳"},
    {u"/zhao", u"找"},   {u"/mm", u"美眉"},     {u"/zt", u"猪头"},     {u"/maom", u"猫咪"},
    {u"/xg", u"小狗"},   {u"/yb", u"拥抱"},     {u"/qianc", u"钱"},    {u"/dp", u"灯泡"},
    {u"/bei", u"酒杯"},  {u"/dg", u"蛋糕"},     {u"/shd", u"闪电"},    {u"/zhd", u"炸弹"},
    {u"/dao", u"刀"},    {u"/zq", u"足球"},     {u"/yy", u"音乐"},     {u"/bb", u"便便"},
    {u"/kf", u"咖啡"},   {u"/fan", u"饭"},      {u"/yw", u"药丸"},     {u"/mg", u"玫瑰"},
    {u"/dx", u"凋谢"},   {u"/wen", u"吻"},      {u"/xin", u"爱心"},    {u"/xs", u"心碎"},
    {u"/hy", u"会议"},   {u"/lw", u"礼物"},     {u"/dh", u"电话"},     {u"/sj", u"时间"},
    {u"/yj", u"邮件"},   {u"/ds", u"电视"},     {u"/ty", u"太阳"},     {u"/yl", u"月亮"},
    {u"/qiang", u"强"},  {u"/ruo", u"弱"},      {u"/ws", u"握手"},     {u"/shl", u"胜利"},
    {u"/dd", u"多多"},   {u"/mn", u"美女"},     {u"/hl", u"汉良"},     {u"/mamao", u"毛毛"},
    {u"/qz", u"Q仔"},    {u"/fw", u"飞吻"},     {u"/oh", u"怄火"},     {u"/bj", u"白酒"},
    {u"/qsh", u"汽水"},  {u"/xig", u"西瓜"},    {u"/xy", u"下雨"},     {u"/duoy", u"多云"},
    {u"/xr", u"雪人"},   {u"/xixing", u"星星"}, {u"/nv", u"女"},       {u"/nan", u"男"},
}};

namespace {
QString qstring(std::u16string_view s)
{
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}
} // namespace

QString codeOf(int number)
{
    return qstring(emoticon(number).code);
}

QString accessibleName(const Emoticon &emoticon)
{
    return qstring(emoticon.name) + u' ' + qstring(emoticon.code);
}

} // namespace mirthkey
