# Draws resources/im/send_to_user_pattern.bmp, the send-to-user button picture the IM module embeds:
#   QT_QPA_PLATFORM=offscreen tools/make_send_to_user_bmp resources/im/send_to_user_pattern.bmp
add_executable(make_send_to_user_bmp ${CMAKE_CURRENT_LIST_DIR}/make_send_to_user_bmp.cpp)
target_link_libraries(make_send_to_user_bmp PRIVATE Qt6::Gui)
