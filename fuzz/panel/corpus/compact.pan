// Tessaline panel file: slate keys on a dark panel.
// Design size 240 units wide: one unit is one pixel on a 240-pixel-wide screen.
backcolor = 0x181410; textcolor = 0xFFFFFF

// 1: letter key of the phone keypad: letters (cell 0), digit typed on hold (cell 1)
[button_layout=1]
  bitmap = lb_gray; size = 0, 0, 50, 40
  [cell=0]
    rect = 1, 12, 48, 24; font = 2; color = 0xFFFFFF
  [end]
  [cell=1]
    rect = 3, 1, 10, 11; font = 1; color = 0xF0C890
  [end]
[end]
// 2: function key of the keypad (icon or short text)
[button_layout=2]
  bitmap = lb_gray; size = 0, 0, 50, 40
  [cell=0]
    rect = 0, 0, 50, 40; font = 2; color = 0xFFFFFF
  [end]
[end]
// 3: space key: the space icon (cell 1) over what the language puts on it (cell 0)
[button_layout=3]
  bitmap = lb_gray; size = 0, 0, 50, 40
  [cell=1]
    rect = 0, 0, 50, 34; font = 2; color = 0xFFFFFF
  [end]
  [cell=0]
    rect = 0, 27, 50, 12; font = 1; color = 0xD0D0D0
  [end]
[end]
// 4: case key: frame 0 lower case, 1 capitals, 2 capital for the next word
[button_layout=4]
  bitmap = b_abc, 3; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 0, 40, 26; font = 2; color = 0xFFFFFF
  [end]
[end]
// 5: mode key: frame 0 letter mode, 1 word mode
[button_layout=5]
  bitmap = b_t9, 2; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 0, 40, 26; font = 2; color = 0xFFFFFF
  [end]
[end]
// 6: blue key with text
[button_layout=6]
  bitmap = b_blue; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 0, 40, 30; font = 2; color = 0xFFFFFF
  [end]
[end]
// 7: next candidate
[button_layout=7]
  bitmap = b_next; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 0, 40, 30; font = 2; color = 0xFFFFFF
  [end]
[end]
// 8: small character key (compact QWERTY, digits, symbols)
[button_layout=8]
  bitmap = b_gray; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 3, 40, 24; font = 2; color = 0xFFFFFF
  [end]
[end]
// 9: small function key
[button_layout=9]
  bitmap = b_gray; size = 0, 0, 40, 30
  [cell=0]
    rect = 0, 0, 40, 30; font = 2; color = 0xFFFFFF
  [end]
[end]
// 10: editing key: cell 0 holds the key script and is not shown, cell 1 its label
[button_layout=10]
  bitmap = lb2_gray; size = 0, 0, 40, 40
  [cell=1]
    rect = 0, 0, 40, 40; font = 1; color = 0xFFFFFF
  [end]
[end]
// 11: user button: cell 0 holds the key script and is not shown, cell 1 its label
[button_layout=11]
  bitmap = b_userbutton; size = 0, 0, 60, 40
  [cell=1]
    rect = 2, 2, 56, 36; font = 1; color = 0xFFFFFF
  [end]
[end]
// 12: options
[button_layout=12]
  bitmap = b_options; size = 0, 0, 40, 30
[end]
// 13: close bar of the symbols pop-up
[button_layout=13]
  bitmap = splitter; size = 0, 0, 240, 15
[end]
// 14: large function key with a small label
[button_layout=14]
  bitmap = lb_gray; size = 0, 0, 50, 40
  [cell=0]
    rect = 0, 0, 50, 40; font = 1; color = 0xFFFFFF
  [end]
[end]

[icon]
  bitmap = i_sys; size = 0, 0, 30, 22; caption = ":abc0:"
[end]
[icon]
  bitmap = i_sys; size = 0, 22, 30, 22; caption = ":abc1:"
[end]
[icon]
  bitmap = i_sys; size = 0, 44, 30, 22; caption = ":abc2:"
[end]
[icon]
  bitmap = i_sys; size = 0, 66, 30, 22; caption = ":t90:"
[end]
[icon]
  bitmap = i_sys; size = 0, 88, 30, 22; caption = ":t91:"
[end]
[icon]
  bitmap = i_sys; size = 0, 110, 30, 22; caption = ":enter:"
[end]
[icon]
  bitmap = i_sys; size = 0, 132, 30, 22; caption = ":bksp:"
[end]
[icon]
  bitmap = i_sys; size = 0, 154, 30, 22; caption = ":space:"
[end]
[icon]
  bitmap = i_sys; size = 0, 176, 30, 22; caption = ":next:"
[end]
[icon]
  bitmap = i_sys; size = 0, 198, 30, 22; caption = ":options:"
[end]
[icon]
  bitmap = i_sys; size = 0, 220, 30, 22; caption = ":lang:"
[end]
[icon]
  bitmap = i_sys; size = 0, 242, 30, 22; caption = ":left:"
[end]
[icon]
  bitmap = i_sys; size = 0, 264, 30, 22; caption = ":right:"
[end]
[icon]
  bitmap = i_sys; size = 0, 286, 30, 22; caption = ":up:"
[end]
[icon]
  bitmap = i_sys; size = 0, 308, 30, 22; caption = ":down:"
[end]
[icon]
  bitmap = i_copy; size = 0, 0, 20, 20; caption = ":copy:"
[end]
[icon]
  bitmap = i_paste; size = 0, 0, 20, 20; caption = ":paste:"
[end]
[icon]
  bitmap = i_cut; size = 0, 0, 20, 20; caption = ":cut:"
[end]
[icon]
  bitmap = i_delete; size = 0, 0, 20, 20; caption = ":del:"
[end]
[icon]
  bitmap = i_sel_all; size = 0, 0, 20, 20; caption = ":selall:"
[end]
[icon]
  bitmap = i_sel_line; size = 0, 0, 20, 20; caption = ":selline:"
[end]
[icon]
  bitmap = i_sel_left; size = 0, 0, 20, 20; caption = ":selleft:"
[end]
[icon]
  bitmap = i_sel_right; size = 0, 0, 20, 20; caption = ":selright:"
[end]

// main: the phone keypad; swipe down for symbols, left for QWERTY, up for editing,
// right for the user buttons.
[layout=main]
  default_sx = 240; default_sy = 120
  [button=1]
    pos = 0, 0; layout = 1; event0 = 1; event1 = 0; caption = 0, ".,?!"; caption = 1, "1"
  [end]
  [button=2]
    pos = 50, 0; layout = 1; event0 = 2; event1 = 0; caption = 0, "abc"; caption = 1, "2"
  [end]
  [button=3]
    pos = 100, 0; layout = 1; event0 = 3; event1 = 0; caption = 0, "def"; caption = 1, "3"
  [end]
  [button=4]
    pos = 0, 40; layout = 1; event0 = 4; event1 = 0; caption = 0, "ghi"; caption = 1, "4"
  [end]
  [button=5]
    pos = 50, 40; layout = 1; event0 = 5; event1 = 0; caption = 0, "jkl"; caption = 1, "5"
  [end]
  [button=6]
    pos = 100, 40; layout = 1; event0 = 6; event1 = 0; caption = 0, "mno"; caption = 1, "6"
  [end]
  [button=7]
    pos = 0, 80; layout = 1; event0 = 7; event1 = 0; caption = 0, "pqrs"; caption = 1, "7"
  [end]
  [button=8]
    pos = 50, 80; layout = 1; event0 = 8; event1 = 0; caption = 0, "tuv"; caption = 1, "8"
  [end]
  [button=9]
    pos = 100, 80; layout = 1; event0 = 9; event1 = 0; caption = 0, "wxyz"; caption = 1, "9"
  [end]
  [button=12]
    pos = 150, 0; layout = 2; event0 = 12; caption = 0, ":bksp:"
  [end]
  [button=10]
    pos = 150, 40; layout = 3; event0 = 10; caption = 1, ":space:"
  [end]
  [button=11]
    pos = 150, 80; layout = 2; event0 = 11; caption = 0, ":enter:"
  [end]
  [button=14]
    pos = 200, 0; layout = 4; event0 = 14; caption = 0, ":abc0:"
  [end]
  [button=15]
    pos = 200, 30; layout = 5; event0 = 15; caption = 0, ":t91:"
  [end]
  [button=13]
    pos = 200, 60; layout = 6; event0 = 13; caption = 0, "#@"
  [end]
  [button=16]
    pos = 200, 90; layout = 7; event0 = 16; caption = 0, ":next:"
  [end]
[end]

// symbols: digits (typed as the first character of their caption) and symbols.
[layout=symbols]
  default_sx = 240; default_sy = 120
  [button=201]
    pos = 0, 0; layout = 8; event0 = 0; caption = 0, "1"
  [end]
  [button=202]
    pos = 40, 0; layout = 8; event0 = 0; caption = 0, "2"
  [end]
  [button=203]
    pos = 80, 0; layout = 8; event0 = 0; caption = 0, "3"
  [end]
  [button=204]
    pos = 120, 0; layout = 8; event0 = 0; caption = 0, "4"
  [end]
  [button=205]
    pos = 160, 0; layout = 8; event0 = 0; caption = 0, "5"
  [end]
  [button=206]
    pos = 0, 30; layout = 8; event0 = 0; caption = 0, "6"
  [end]
  [button=207]
    pos = 40, 30; layout = 8; event0 = 0; caption = 0, "7"
  [end]
  [button=208]
    pos = 80, 30; layout = 8; event0 = 0; caption = 0, "8"
  [end]
  [button=209]
    pos = 120, 30; layout = 8; event0 = 0; caption = 0, "9"
  [end]
  [button=210]
    pos = 160, 30; layout = 8; event0 = 0; caption = 0, "0"
  [end]
  [button=12]
    pos = 200, 0; layout = 9; event0 = 12; caption = 0, ":bksp:"
  [end]
  [button=11]
    pos = 200, 30; layout = 9; event0 = 11; caption = 0, ":enter:"
  [end]
  [button=400]
    pos = 0, 60; layout = 8; event0 = 400; caption = 0, "'"
  [end]
  [button=402]
    pos = 40, 60; layout = 8; event0 = 402; caption = 0, "("
  [end]
  [button=403]
    pos = 80, 60; layout = 8; event0 = 403; caption = 0, ")"
  [end]
  [button=404]
    pos = 120, 60; layout = 8; event0 = 404; caption = 0, "@"
  [end]
  [button=405]
    pos = 160, 60; layout = 8; event0 = 405; caption = 0, "/"
  [end]
  [button=406]
    pos = 0, 90; layout = 8; event0 = 406; caption = 0, ":"
  [end]
  [button=408]
    pos = 40, 90; layout = 8; event0 = 408; caption = 0, ";"
  [end]
  [button=409]
    pos = 80, 90; layout = 8; event0 = 409; caption = 0, "+"
  [end]
  [button=410]
    pos = 120, 90; layout = 8; event0 = 410; caption = 0, "&"
  [end]
  [button=411]
    pos = 160, 90; layout = 8; event0 = 411; caption = 0, "%"
  [end]
  [button=13]
    pos = 200, 60; layout = 6; event0 = 13; caption = 0, "#@"
  [end]
  [button=1]
    pos = 200, 90; layout = 8; event0 = 1; caption = 0, ".,?!"
  [end]
[end]

// qwerty: the compact QWERTY keys 101-115, two letters a key.
[layout=qwerty]
  default_sx = 240; default_sy = 120
  [button=101]
    pos = 0, 0; layout = 8; event0 = 101; caption = 0, "qw"
  [end]
  [button=102]
    pos = 40, 0; layout = 8; event0 = 102; caption = 0, "er"
  [end]
  [button=103]
    pos = 80, 0; layout = 8; event0 = 103; caption = 0, "ty"
  [end]
  [button=104]
    pos = 120, 0; layout = 8; event0 = 104; caption = 0, "ui"
  [end]
  [button=105]
    pos = 160, 0; layout = 8; event0 = 105; caption = 0, "op"
  [end]
  [button=106]
    pos = 0, 30; layout = 8; event0 = 106; caption = 0, "as"
  [end]
  [button=107]
    pos = 40, 30; layout = 8; event0 = 107; caption = 0, "df"
  [end]
  [button=108]
    pos = 80, 30; layout = 8; event0 = 108; caption = 0, "gh"
  [end]
  [button=109]
    pos = 120, 30; layout = 8; event0 = 109; caption = 0, "jk"
  [end]
  [button=110]
    pos = 160, 30; layout = 8; event0 = 110; caption = 0, "l"
  [end]
  [button=111]
    pos = 0, 60; layout = 8; event0 = 111; caption = 0, "zx"
  [end]
  [button=112]
    pos = 40, 60; layout = 8; event0 = 112; caption = 0, "cv"
  [end]
  [button=113]
    pos = 80, 60; layout = 8; event0 = 113; caption = 0, "bn"
  [end]
  [button=114]
    pos = 120, 60; layout = 8; event0 = 114; caption = 0, "m"
  [end]
  [button=115]
    pos = 160, 60; layout = 8; event0 = 115; caption = 0, "'-"
  [end]
  [button=12]
    pos = 200, 0; layout = 9; event0 = 12; caption = 0, ":bksp:"
  [end]
  [button=11]
    pos = 200, 30; layout = 9; event0 = 11; caption = 0, ":enter:"
  [end]
  [button=14]
    pos = 200, 60; layout = 4; event0 = 14; caption = 0, ":abc0:"
  [end]
  [button=1]
    pos = 0, 90; layout = 8; event0 = 1; caption = 0, ".,?!"
  [end]
  [button=10]
    pos = 40, 90; layout = 9; event0 = 10; caption = 0, ":space:"
  [end]
  [button=15]
    pos = 80, 90; layout = 5; event0 = 15; caption = 0, ":t91:"
  [end]
  [button=13]
    pos = 120, 90; layout = 6; event0 = 13; caption = 0, "#@"
  [end]
  [button=16]
    pos = 160, 90; layout = 7; event0 = 16; caption = 0, ":next:"
  [end]
  [button=302]
    pos = 200, 90; layout = 9; event0 = 302; caption = 0, ":lang:"
  [end]
[end]

// words: editing keys; each sends its key script (cell 0) and shows its label (cell 1).
[layout=words]
  default_sx = 240; default_sy = 120
  [button=50]
    pos = 0, 0; layout = 10; event0 = 20; caption = 0, "VK_CONTROLd+VK_C+VK_CONTROLu"; caption = 1, ":copy:"
  [end]
  [button=51]
    pos = 40, 0; layout = 10; event0 = 20; caption = 0, "VK_CONTROLd+VK_X+VK_CONTROLu"; caption = 1, ":cut:"
  [end]
  [button=52]
    pos = 80, 0; layout = 10; event0 = 20; caption = 0, "VK_CONTROLd+VK_V+VK_CONTROLu"; caption = 1, ":paste:"
  [end]
  [button=53]
    pos = 120, 0; layout = 10; event0 = 20; caption = 0, "VK_DELETE"; caption = 1, ":del:"
  [end]
  [button=54]
    pos = 160, 0; layout = 10; event0 = 20; caption = 0, "VK_CONTROLd+VK_A+VK_CONTROLu"; caption = 1, ":selall:"
  [end]
  [button=55]
    pos = 0, 40; layout = 10; event0 = 20; caption = 0, "VK_SHIFTd+VK_LEFT+VK_SHIFTu"; caption = 1, ":selleft:"
  [end]
  [button=56]
    pos = 40, 40; layout = 10; event0 = 20; caption = 0, "VK_LEFT"; caption = 1, ":left:"
  [end]
  [button=57]
    pos = 80, 40; layout = 10; event0 = 20; caption = 0, "VK_UP"; caption = 1, ":up:"
  [end]
  [button=58]
    pos = 120, 40; layout = 10; event0 = 20; caption = 0, "VK_RIGHT"; caption = 1, ":right:"
  [end]
  [button=59]
    pos = 160, 40; layout = 10; event0 = 20; caption = 0, "VK_SHIFTd+VK_RIGHT+VK_SHIFTu"; caption = 1, ":selright:"
  [end]
  [button=60]
    pos = 0, 80; layout = 10; event0 = 20; caption = 0, "VK_HOME+VK_SHIFTd+VK_END+VK_SHIFTu"; caption = 1, ":selline:"
  [end]
  [button=61]
    pos = 40, 80; layout = 10; event0 = 20; caption = 0, "VK_HOME"; caption = 1, "Home"
  [end]
  [button=62]
    pos = 80, 80; layout = 10; event0 = 20; caption = 0, "VK_DOWN"; caption = 1, ":down:"
  [end]
  [button=63]
    pos = 120, 80; layout = 10; event0 = 20; caption = 0, "VK_END"; caption = 1, "End"
  [end]
  [button=12]
    pos = 200, 0; layout = 10; event0 = 12; caption = 1, ":bksp:"
  [end]
  [button=11]
    pos = 200, 40; layout = 10; event0 = 11; caption = 1, ":enter:"
  [end]
  [button=301]
    pos = 160, 80; layout = 10; event0 = 301; caption = 1, ":options:"
  [end]
  [button=302]
    pos = 200, 80; layout = 10; event0 = 302; caption = 1, ":lang:"
  [end]
[end]

// userpad: the user buttons 30-45; the options give their key scripts and labels.
[layout=userpad]
  default_sx = 240; default_sy = 160
  [button=30]
    pos = 0, 0; layout = 11; event0 = 20
  [end]
  [button=31]
    pos = 60, 0; layout = 11; event0 = 20
  [end]
  [button=32]
    pos = 120, 0; layout = 11; event0 = 20
  [end]
  [button=33]
    pos = 180, 0; layout = 11; event0 = 20
  [end]
  [button=34]
    pos = 0, 40; layout = 11; event0 = 20
  [end]
  [button=35]
    pos = 60, 40; layout = 11; event0 = 20
  [end]
  [button=36]
    pos = 120, 40; layout = 11; event0 = 20
  [end]
  [button=37]
    pos = 180, 40; layout = 11; event0 = 20
  [end]
  [button=38]
    pos = 0, 80; layout = 11; event0 = 20
  [end]
  [button=39]
    pos = 60, 80; layout = 11; event0 = 20
  [end]
  [button=40]
    pos = 120, 80; layout = 11; event0 = 20
  [end]
  [button=41]
    pos = 180, 80; layout = 11; event0 = 20
  [end]
  [button=42]
    pos = 0, 120; layout = 11; event0 = 20
  [end]
  [button=43]
    pos = 60, 120; layout = 11; event0 = 20
  [end]
  [button=44]
    pos = 120, 120; layout = 11; event0 = 20
  [end]
  [button=45]
    pos = 180, 120; layout = 11; event0 = 20
  [end]
[end]

// popup: the symbols pop-up. Buttons 100-121 get their symbol when the pop-up is made;
// 150 shows the language name and switches language, 151 opens the options, and the
// bar at the bottom only closes the pop-up.
[layout=popup]
  default_sx = 240; default_sy = 135
  [button=100]
    pos = 0, 0; layout = 8; event0 = 400
  [end]
  [button=101]
    pos = 40, 0; layout = 8; event0 = 401
  [end]
  [button=102]
    pos = 80, 0; layout = 8; event0 = 402
  [end]
  [button=103]
    pos = 120, 0; layout = 8; event0 = 403
  [end]
  [button=104]
    pos = 160, 0; layout = 8; event0 = 404
  [end]
  [button=105]
    pos = 200, 0; layout = 8; event0 = 405
  [end]
  [button=106]
    pos = 0, 30; layout = 8; event0 = 406
  [end]
  [button=107]
    pos = 40, 30; layout = 8; event0 = 407
  [end]
  [button=108]
    pos = 80, 30; layout = 8; event0 = 408
  [end]
  [button=109]
    pos = 120, 30; layout = 8; event0 = 409
  [end]
  [button=110]
    pos = 160, 30; layout = 8; event0 = 410
  [end]
  [button=111]
    pos = 200, 30; layout = 8; event0 = 411
  [end]
  [button=112]
    pos = 0, 60; layout = 8; event0 = 412
  [end]
  [button=113]
    pos = 40, 60; layout = 8; event0 = 413
  [end]
  [button=114]
    pos = 80, 60; layout = 8; event0 = 414
  [end]
  [button=115]
    pos = 120, 60; layout = 8; event0 = 415
  [end]
  [button=116]
    pos = 160, 60; layout = 8; event0 = 416
  [end]
  [button=117]
    pos = 200, 60; layout = 8; event0 = 417
  [end]
  [button=118]
    pos = 0, 90; layout = 8; event0 = 418
  [end]
  [button=119]
    pos = 40, 90; layout = 8; event0 = 419
  [end]
  [button=120]
    pos = 80, 90; layout = 8; event0 = 420
  [end]
  [button=121]
    pos = 120, 90; layout = 8; event0 = 421
  [end]
  [button=150]
    pos = 160, 90; layout = 6; event0 = 302; caption = 0, "Eng"
  [end]
  [button=151]
    pos = 200, 90; layout = 12; event0 = 301
  [end]
  [button=152]
    pos = 0, 120; layout = 13; event0 = 300
  [end]
[end]
