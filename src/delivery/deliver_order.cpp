#include "delivery/deliver_order.h"

#include "im/buyer_chat.h"
#include "market/consignment.h"
#include "market/http_engine.h"
#include "market/url_text.h"
#include "text/encoding.h"

namespace varnel::delivery {
namespace {

bool windows_alive(im::WindowSystem& ws, std::initializer_list<im::WindowHandle> windows) {
  for (im::WindowHandle w : windows) {
    if (!ws.is_window(w)) return false;
  }
  return true;
}

bool consign(const DeliveryContext& with, const std::string& order_number) {
  // The encoded number has no spaces left to trim. The POST goes to the same encoded address as the GET, so
  // no text of the page can change where the form is sent.
  const std::string trade_id = market::url_encode(order_number);
  // Fetching the page changes nothing on the marketplace, so exit may cut it short; the consignment itself
  // is never cut once sent.
  market::HttpOptions fetch;
  fetch.cancel = &with.exiting;
  fetch.ca_file = with.endpoints.ca_file;
  const std::string page =
      market::http_fetch(market::consign_page_address(trade_id, with.endpoints), fetch, with.timing);
  if (with.exiting) return false;
  return market::consign_dummy(trade_id, text::until_nul(page), with.endpoints, with.timing);
}

}  // namespace

DeliveryResult deliver_order(const DeliveryContext& with, const OrderRow& order) {
  const std::optional<CardKey> key = with.store.pick(order.item_name);
  if (!key) return {DeliveryOutcome::no_stock};
  const std::string text = compose_delivery_message(with.message_template, key->account, key->password);

  if (im::open_buyer_chat(with.ws, with.im, order.buyer_nick, with.timing) == im::ChatOutcome::verification_required)
    return {DeliveryOutcome::verification_required};
  // Past this point the order gets shipped; exit and a closed IM client must stop it before, never after.
  if (with.exiting) return {DeliveryOutcome::abandoned};
  if (!windows_alive(with.ws, {with.im.toolbar, with.im.chat_input, with.im.send_pane}))
    return {DeliveryOutcome::im_closed};
  if (!consign(with, order.order_number)) return {DeliveryOutcome::consign_failed};

  // The key is this buyer's from here on, so it is recorded even when the message cannot go out. A window
  // that is gone right after the send may have taken the message with it: the operator is asked to send it.
  const bool can_send = windows_alive(with.ws, {with.im.chat_input, with.im.send_pane});
  if (can_send) im::send_chat_message(with.ws, with.im, text);
  const bool sent = can_send && windows_alive(with.ws, {with.im.chat_input, with.im.send_pane});

  const bool recorded = with.store.record_sale(*key, order.order_number, order.buyer_nick, with.clock());
  return {recorded ? DeliveryOutcome::delivered : DeliveryOutcome::not_recorded, sent};
}

}  // namespace varnel::delivery
