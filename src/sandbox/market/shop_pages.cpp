#include "sandbox/market/shop_pages.h"

#include "sandbox/market/form_text.h"
#include "text/encoding.h"

namespace varnel::sandbox {
namespace {

// Every page is written in UTF-8 here and sent as GB18030, with the surrounding noise of a real page.
std::string page(const std::string& title, const std::string& body) {
  return text::utf8_to_gb(
      "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\">\n<html><head>"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=gbk\" />\n<title>" +
      title +
      " - 淘宝网</title>\n<script type=\"text/javascript\">var g_config = {appId: 7, toolbar: false};</script>\n"
      "</head><body><div id=\"page\"><div id=\"header\"><a href=\"/\">淘宝网首页</a> | <a "
      "href=\"#\">我的淘宝</a></div>\n"
      "<div id=\"content\">\n" +
      body +
      "\n</div><div id=\"footer\">&copy; 2003-2024 Taobao.com 版权所有</div></div>"
      "</body></html>\n");
}

std::string attr(const std::string& value) { return html_escape(value); }

}  // namespace

std::string status_text(OrderState state) {
  switch (state) {
    case OrderState::paid:
      return "买家已付款";
    case OrderState::shipped:
      return "卖家已发货";
    case OrderState::closed:
      return "交易关闭";
  }
  return {};
}

namespace pages {

std::string login_form() {
  return page("登录",
              "<form id=\"J_Form\" action=\"/member/login.jhtml\" method=\"post\">"
              "<input name=\"TPL_username\" /><input name=\"TPL_password\" type=\"password\" />"
              "<button type=\"submit\">登 录</button></form>");
}

std::string login_failed() {
  return page("登录",
              "<div class=\"login-msg error\"><p class=\"error\">您输入的密码和账户名不匹配，请重新输入。</p></div>" +
                  std::string("<form id=\"J_Form\" action=\"/member/login.jhtml\" method=\"post\"></form>"));
}

std::string login_result(const std::string& account) {
  return page("我的淘宝", "<div class=\"welcome\">" + attr(account) +
                              "，欢迎回来！</div><ul class=\"nav\"><li><a href=\"/bought.htm\">我是买家</a></li>"
                              "<li><a href=\"/sold.htm\">我是卖家</a></li></ul>");
}

std::string logged_out() { return page("退出", "<p>您已成功退出淘宝网。</p>"); }

std::string sold_items(const std::string& account, const std::vector<ListedOrder>& orders) {
  std::string body = "<div class=\"seller\">卖家: <span class=\"J_WangWang\" data-nick=\"" + attr(account) +
                     "\"></span></div>\n<table class=\"bought-table\" id=\"J_BoughtTable\">\n";
  if (orders.empty()) body += "<tr><td>没有符合条件的宝贝，请尝试其他搜索条件。</td></tr>\n";
  for (const ListedOrder& o : orders) {
    body += "<!--start 子订单list  start-->\n<tbody class=\"J_Order\"><tr id=\"item" + attr(o.number) +
            "\" class=\"order-hd\"><td colspan=\"2\"><span class=\"order-num\">订单号：" + attr(o.number) +
            "</span><span class=\"deal-time\">成交时间：2024-03-05 13:05</span></td></tr>\n"
            "<tr class=\"order-bd\"><td class=\"item\"><a href=\"//item.taobao.com/item.htm?id=" +
            attr(o.number) + "\" title=\"查看宝贝详情\" target=\"_blank\">" + attr(o.item) +
            "</a></td><td class=\"price\">￥10.00</td><td class=\"trade-status\">"
            "<strong class=\"J_TradeStatus status todo h\">" +
            status_text(o.state) + "</strong></td><td class=\"buyer\"><a class=\"J_WangWang\" data-nick=\"" +
            attr(o.nick) + "\" data-display=\"inline\" href=\"#\"></a></td></tr></tbody>\n<!--end 子订单list  end-->\n";
  }
  body += "</table>\n<div class=\"pagination\">第1页</div>";
  return page("已卖出的宝贝", body);
}

std::string consign_form(const ListedOrder& order, const std::string& token, const Person& r, const Person& s) {
  auto input = [](const std::string& id, const std::string& name, const std::string& value, bool spaced = true) {
    return "<input type=\"text\" id=\"" + id + "\" name=\"" + name + "\" value=\"" + attr(value) +
           (spaced ? "\" />" : "\"/>") + "\n";
  };
  std::string body =
      "<h2>发货 - 订单号：" + attr(order.number) + "</h2>\n<form id=\"J_ConsignForm\" method=\"post\">\n";
  body += "<input name='_tb_token_' type='hidden' value='" + token + "'>\n";
  body += "<input type=\"hidden\" name=\"orderId\" value=\"" + attr(order.number) + "\" />\n";
  body += "<input type=\"hidden\" name=\"province\" value=\"" + attr(r.province) + "\" />\n";
  body += "<fieldset class=\"receiver\"><legend>收货信息</legend>\n";
  body += input("contactName", "_fmw.r._0.c", r.name) + input("province", "_fmw.r._0.p", r.province);
  body += input("city", "_fmw.r._0.ci", "") + input("dDDAdr", "_fmw.r._0.dd", r.district);
  body += input("address", "_fmw.r._0.ad", r.address) + input("zipCode", "_fmw.r._0.z", r.zip);
  body += input("mobile", "_fmw.r._0.mo", r.mobile) + "</fieldset>\n";
  body += "<fieldset class=\"sender\"><legend>发货信息</legend>\n";
  body += input("contactId", "_fmw.s._0.co", "80012") + input("countryId", "_fmw.s._0.coun", "1", false);
  body += input("contactName", "_fmw.s._0.c", s.name) + input("adr", "_fmw.s._0.adr", s.province);
  body += input("dDDAdr", "_fmw.s._0.dd", s.district) + input("address", "_fmw.s._0.ad", s.address);
  body += input("zipCode", "_fmw.s._0.z", s.zip) + input("mobilePhone", "_fmw.s._0.m", s.mobile) + "</fieldset>\n";
  body +=
      "<label><input type=\"radio\" name=\"event_submit_do_dummy\" value=\"1\" />无需物流</label>\n"
      "<button type=\"submit\">确认</button></form>";
  return page("发货", body);
}

std::string unknown_order() {
  return page("发货", "<div class=\"msg error\">不存在该条订单，请确认订单号是否正确。</div>");
}

std::string consign_refused_address() { return page("发货", "<div class=\"msg error\">请选择有效的省市区！</div>"); }

std::string consign_done(const std::string& number) {
  return page("发货成功", "<div class=\"msg ok\">订单 " + attr(number) + " 发货成功！</div><p>正在读取物流信息...</p>");
}

std::string consign_error(const std::string& message) {
  return page("发货", "<div class=\"msg error\">" + attr(message) + "</div>");
}

std::string not_found() { return page("页面不存在", "<p>您访问的页面不存在。</p>"); }

}  // namespace pages
}  // namespace varnel::sandbox
