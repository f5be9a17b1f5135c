#pragma once
// A small skin of layouts (a main window with two pages in a tab, the shared config) and a page that
// records what it is told, for the toolkit's tests.
#include "ui/core/LayoutLoader.h"
#include "ui/headless/HeadlessBackend.h"
#include "ui/headless/MemoryLayoutReader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace uitest {

inline constexpr char kConfig[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Config>
  <Font id="0" name="Segoe UI" size="12" default="true"/>
  <Font id="1" name="Segoe UI" size="14" bold="true"/>
  <Default class="Button" width="90" height="30"/>
  <Style name="title" font="1" textcolor="#FF0000" stretch="1"/>
</Config>
)";

inline constexpr char kMainFrame[] = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="560,400" caption="0,0,0,27">
  <Include source="config.xml"/>
  <HorizontalLayout name="titlebar" height="27">
    <Label name="label_title" text="打印机驱动向导" resourceid="1" style="title"/>
    <Label name="label_debug" width="60"/>
    <Button name="windowclosebtn" width="27" height="27" tooltip="关闭" resourceid="2"/>
  </HorizontalLayout>
  <Tab name="tab_main">
    <ChildLayout name="form_main"/>
    <ChildLayout name="form_printer_port"/>
  </Tab>
</Window>
)";

inline constexpr char kFormMain[] = R"(<?xml version="1.0" encoding="utf-8"?>
<VerticalLayout padding="10">
  <Option name="chk_install_driver" group="mode" text="安装打印机" resourceid="1"/>
  <Option name="chk_update_driver" group="mode" text="升级驱动" resourceid="2"/>
  <Option name="chk_uninstall_driver" group="mode" text="删除打印机" resourceid="3"/>
  <Progress name="process_form_main" height="3"/>
  <HorizontalLayout height="30">
    <Button name="btn_form_main_next" text="下一步" resourceid="4"/>
    <Button name="btn_form_main_cancel" text="取消" resourceid="5"/>
  </HorizontalLayout>
</VerticalLayout>
)";

inline constexpr char kFormPort[] = R"(<?xml version="1.0" encoding="utf-8"?>
<VerticalLayout>
  <Grid name="grid_printer_port" checkbox="true">
    <Column text="名称" width="120"/>
    <Column text="端口" width="80"/>
  </Grid>
  <Edit name="text_ip_address" text="192.168.1.200" maxchar="15"/>
  <Combo name="combo_port"><Item text="COM1"/><Item text="LPT1"/></Combo>
  <AnimatedPicture name="pic_search" delay="200">
    <Frame image="images/Loading/1.png"/><Frame image="images/Loading/2.png"/>
  </AnimatedPicture>
</VerticalLayout>
)";

// The skin above, with a factory of the toolkit's classes.
struct Skin {
    ui::headless::MemoryLayoutReader files;
    ui::ControlFactory factory;
    Skin() {
        files.set(L"config.xml", kConfig);
        files.set(L"MainFrame.xml", kMainFrame);
        files.set(L"form_main.xml", kFormMain);
        files.set(L"form_printer_port.xml", kFormPort);
    }
    ui::LoadedWindow load(std::wstring_view file = L"MainFrame.xml",
                          ui::TranslationSource* t = nullptr) const {
        return ui::LayoutLoader(files, factory, t).loadWindow(file);
    }
};

// A page that records its notifications as "kind name row column timer".
struct RecordingPage : ui::NotifyTarget {
    std::vector<std::string> seen;
    std::function<void(const ui::Notification&)> then;
    void notify(const ui::Notification& n) override {
        static const char* kinds[] = {"click", "selection", "text", "timer"};
        std::string line = kinds[static_cast<int>(n.kind)];
        line += ' ';
        for (wchar_t c : n.control.name())
            line += static_cast<char>(c);
        if (n.row >= 0)
            line.append(" row ")
                .append(std::to_string(n.row))
                .append(" col ")
                .append(std::to_string(n.column));
        if (n.kind == ui::NotifyKind::Timer)
            line.append(" ").append(std::to_string(n.timerId));
        seen.push_back(line);
        if (then)
            then(n);
    }
};

} // namespace uitest
