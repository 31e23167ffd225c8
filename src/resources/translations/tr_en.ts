<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <source>信息接收超时!</source>
        <translation>Message reception timed out!</translation>
    </message>
    <message>
        <source>关闭</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>停止</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>暂停</source>
        <translation>Pause</translation>
    </message>
    <message>
        <source>继续</source>
        <translation>Continue</translation>
    </message>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>设置参数</source>
        <translation>Setting parameters</translation>
    </message>
    <message>
        <source>设置成功！</source>
        <translation>Set successfully!</translation>
    </message>
    <message>
        <source>请先打开串口!</source>
        <translation>Please open serial port!</translation>
    </message>
    <message>
        <source>设备地址未获取到!</source>
        <translation>Device address not obtained!</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>ERROR</translation>
    </message>
    <message>
        <source>开始</source>
        <translation>Start</translation>
    </message>
    <message>
        <source>下载</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Orvex</source>
        <translation>Orvex</translation>
    </message>
    <message>
        <source>          OrvexLoRaWAN无线倾角上位机</source>
        <translation>          LoRaWAN Inclinometer Software</translation>
    </message>
    <message>
        <source>115200</source>
        <translation>115200</translation>
    </message>
    <message>
        <source>Date</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>Time</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>X(°)</source>
        <translation>X(°)</translation>
    </message>
    <message>
        <source>Y(°)</source>
        <translation>Y(°)</translation>
    </message>
    <message>
        <source>Z(°)</source>
        <translation>Z(°)</translation>
    </message>
    <message>
        <source>X(g)</source>
        <translation>X(g)</translation>
    </message>
    <message>
        <source>Y(g)</source>
        <translation>Y(g)</translation>
    </message>
    <message>
        <source>Z(g)</source>
        <translation>Z(g)</translation>
    </message>
    <message>
        <source>Temp(℃)</source>
        <translation>Temp(℃)</translation>
    </message>
    <message>
        <source>Power</source>
        <translation>Power</translation>
    </message>
    <message>
        <source>路径:</source>
        <translation>Path:</translation>
    </message>
    <message>
        <source>串口已连接</source>
        <translation>bond</translation>
    </message>
    <message>
        <source>Select Language: English</source>
        <translation>语言：中文</translation>
    </message>
    <message>
        <source>打开</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>串口打开失败</source>
        <translation>COM Open Error</translation>
    </message>
    <message>
        <source>请选择正确的串口或串口被占用!</source>
        <translation>Please select the correct serial port or the serial
port is occupied!</translation>
    </message>
    <message>
        <source>没有权限打开串口 %1。
请把账户加入设备所属的用户组 %2，
然后注销并重新登录：
sudo usermod -aG %2 %3</source>
        <translation>No permission to open the port %1.
Add your account to the group %2,
which owns the device, then log out
and log in again:
sudo usermod -aG %2 %3</translation>
    </message>
    <message>
        <source>串口已断开</source>
        <translation>break</translation>
    </message>
    <message>
        <source>寻找可用串口</source>
        <translation>Search available serial ports</translation>
    </message>
    <message>
        <source>关于</source>
        <translation>About</translation>
    </message>
    <message>
        <source> LoRaWAN(UART)  V1.0.4</source>
        <translation> LoRaWAN(UART)  V1.0.4</translation>
    </message>
    <message>
        <source>中文</source>
        <translation>中文</translation>
    </message>
    <message>
        <source>English</source>
        <translation>English</translation>
    </message>
    <message>
        <source>参数设置</source>
        <translation>Parameter settings</translation>
    </message>
    <message>
        <source>串口助手</source>
        <translation>Serial Port Tool</translation>
    </message>
    <message>
        <source>设备数据读取</source>
        <translation>Read Data</translation>
    </message>
    <message>
        <source>在线升级</source>
        <translation>OTA</translation>
    </message>
    <message>
        <source>串口设置</source>
        <translation>Set COM</translation>
    </message>
    <message>
        <source>串口：</source>
        <translation>Serial Port:</translation>
    </message>
    <message>
        <source>波特率：</source>
        <translation>BaudRate:</translation>
    </message>
    <message>
        <source>2400</source>
        <translation>2400</translation>
    </message>
    <message>
        <source>4800</source>
        <translation>4800</translation>
    </message>
    <message>
        <source>9600</source>
        <translation>9600</translation>
    </message>
    <message>
        <source>19200</source>
        <translation>19200</translation>
    </message>
    <message>
        <source>38400</source>
        <translation>38400</translation>
    </message>
    <message>
        <source>57600</source>
        <translation>57600</translation>
    </message>
    <message>
        <source>460800</source>
        <translation>460800</translation>
    </message>
    <message>
        <source>刷新</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>设备地址：</source>
        <translation>Address:</translation>
    </message>
    <message>
        <source>获取</source>
        <translation>Get</translation>
    </message>
    <message>
        <source>实时三轴</source>
        <translation>Three axis</translation>
    </message>
    <message>
        <source>角度（姿态）</source>
        <translation>Angle</translation>
    </message>
    <message>
        <source>磁场</source>
        <translation>Magnetic field</translation>
    </message>
    <message>
        <source>重力加速度</source>
        <translation>Gravity acceleration</translation>
    </message>
    <message>
        <source>角速度</source>
        <translation>Angular velocity</translation>
    </message>
    <message>
        <source>X:</source>
        <translation>X:</translation>
    </message>
    <message>
        <source>0</source>
        <translation>0</translation>
    </message>
    <message>
        <source>Y:</source>
        <translation>Y:</translation>
    </message>
    <message>
        <source>Z:</source>
        <translation>Z:</translation>
    </message>
    <message>
        <source>温度：</source>
        <translation>Temp:</translation>
    </message>
    <message>
        <source>℃</source>
        <translation>℃</translation>
    </message>
    <message>
        <source>电量：</source>
        <translation>Power:</translation>
    </message>
    <message>
        <source>存储设置</source>
        <translation>Save Config</translation>
    </message>
    <message>
        <source>文件名：Orvex_Record</source>
        <translation>File name:Orvex_Record</translation>
    </message>
    <message>
        <source>存储</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>更改路径</source>
        <translation>Change Path</translation>
    </message>
    <message>
        <source>帮助</source>
        <translation>Support</translation>
    </message>
    <message>
        <source>官网：</source>
        <translation>Web:</translation>
    </message>
    <message>
        <source>邮箱：support@orvex.example</source>
        <translation>Email:support@orvex.example</translation>
    </message>
    <message>
        <source>热线：400-000-0000</source>
        <translation>Tel:400-000-0000</translation>
    </message>
    <message>
        <source>传感器参数设置</source>
        <translation>Inclinometer Settings</translation>
    </message>
    <message>
        <source>  LoRaWAN模块参数设置</source>
        <translation>LoRaWAN module parameter settings</translation>
    </message>
    <message>
        <source>地址：</source>
        <translation>Addr:</translation>
    </message>
    <message>
        <source>（0-9999999)</source>
        <translation>(0-9999999)</translation>
    </message>
    <message>
        <source>设置</source>
        <translation>Set</translation>
    </message>
    <message>
        <source> 角度报警阈值：</source>
        <translation>Angle Alarm Threshold：(0-30.00)</translation>
    </message>
    <message>
        <source>运动唤醒持续时间：</source>
        <translation>Move Wake Duration:(0-20)</translation>
    </message>
    <message>
        <source>S</source>
        <translation>S</translation>
    </message>
    <message>
        <source>上传数据模式：</source>
        <translation>Upload data mode:</translation>
    </message>
    <message>
        <source>精简模式</source>
        <translation>Compact mode</translation>
    </message>
    <message>
        <source>标准模式</source>
        <translation>Normal mode</translation>
    </message>
    <message>
        <source>运动唤醒阈值：</source>
        <translation>Move Alert Threshold:(1-2000)</translation>
    </message>
    <message>
        <source> mg</source>
        <translation>mg</translation>
    </message>
    <message>
        <source>相对/绝对零点：</source>
        <translation>Relative Absolute/ Zero:</translation>
    </message>
    <message>
        <source>绝对零点</source>
        <translation>Absolute zero</translation>
    </message>
    <message>
        <source>相对零点</source>
        <translation>Relative zero</translation>
    </message>
    <message>
        <source>查询</source>
        <translation>Query</translation>
    </message>
    <message>
        <source>安装方式：</source>
        <translation>Installation method:</translation>
    </message>
    <message>
        <source>水平安装</source>
        <translation>Horizontal</translation>
    </message>
    <message>
        <source>垂直安装</source>
        <translation>Vertical</translation>
    </message>
    <message>
        <source>自动输出间隔：</source>
        <translation>Output interval:(10-99)</translation>
    </message>
    <message>
        <source>保持时长：</source>
        <translation>Keep time:(20-9999)</translation>
    </message>
    <message>
        <source>日期(年-月-日)：</source>
        <translation>Date(Y-M-D):</translation>
    </message>
    <message>
        <source>时间(时:分:秒)：</source>
        <translation>Time(H:M:S):</translation>
    </message>
    <message>
        <source>休眠唤醒周期：</source>
        <translation>Sleep wake cycle:(0-9999)</translation>
    </message>
    <message>
        <source> min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>注意:如果设置后不保存,传感器断电后设置还原.</source>
        <translation>Note: Please save after all inclinometer settings.</translation>
    </message>
    <message>
        <source>保存模板</source>
        <translation>Save Template</translation>
    </message>
    <message>
        <source>加载模板</source>
        <translation>Load Template&#x200c;</translation>
    </message>
    <message>
        <source>一键设置</source>
        <translation>One-Click Setup</translation>
    </message>
    <message>
        <source>恢复出厂设置</source>
        <translation>Factory Setting</translation>
    </message>
    <message>
        <source>保存参数</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>频段配置：</source>
        <translation>Band config:</translation>
    </message>
    <message>
        <source>EU433</source>
        <translation>EU433</translation>
    </message>
    <message>
        <source>CN470</source>
        <translation>CN470</translation>
    </message>
    <message>
        <source>AL470</source>
        <translation>AL470</translation>
    </message>
    <message>
        <source>EU868</source>
        <translation>EU868</translation>
    </message>
    <message>
        <source>US915</source>
        <translation>US915</translation>
    </message>
    <message>
        <source>AS923</source>
        <translation>AS923</translation>
    </message>
    <message>
        <source>AU915</source>
        <translation>AU915</translation>
    </message>
    <message>
        <source>DEVEUI：</source>
        <translation>DEVEUI：</translation>
    </message>
    <message>
        <source>心跳配置：</source>
        <translation>Heartbeat config:</translation>
    </message>
    <message>
        <source>关闭心跳</source>
        <translation>Close heartbeat</translation>
    </message>
    <message>
        <source>使能心跳</source>
        <translation>Enable heartbeat</translation>
    </message>
    <message>
        <source>APPEUI：</source>
        <translation>APPEUI：</translation>
    </message>
    <message>
        <source>信道配置：</source>
        <translation>Channel config:</translation>
    </message>
    <message>
        <source>APPKEY：</source>
        <translation>APPKEY：</translation>
    </message>
    <message>
        <source>注意:如果设置后不保存,模块断电后设置还原.</source>
        <translation>Note: Please save after all LoRaWAN module settings.</translation>
    </message>
    <message>
        <source>激活串口助手</source>
        <translation>Activate the serial tool</translation>
    </message>
    <message>
        <source>加回车换行</source>
        <translation>Add CRLF</translation>
    </message>
    <message>
        <source>HEX显示</source>
        <translation>HEX Display</translation>
    </message>
    <message>
        <source>HEX发送</source>
        <translation>Send HEX</translation>
    </message>
    <message>
        <source>清空窗口</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>发送</source>
        <translation>Send</translation>
    </message>
    <message>
        <source>读取全部</source>
        <translation>Read All</translation>
    </message>
    <message>
        <source>指定读取</source>
        <translation>Specify read</translation>
    </message>
    <message>
        <source>开始组数：</source>
        <translation>Read Start:</translation>
    </message>
    <message>
        <source>结束组数：</source>
        <translation>End Read:</translation>
    </message>
    <message>
        <source>（地址范围：1-60000）</source>
        <translation>(Addr range: 1-60000)</translation>
    </message>
    <message>
        <source>时间升序</source>
        <translation>Time Ascending</translation>
    </message>
    <message>
        <source>时间降序</source>
        <translation>Time Descending</translation>
    </message>
    <message>
        <source>读取</source>
        <translation>Read</translation>
    </message>
    <message>
        <source>清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>删除</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source> 导出</source>
        <translation>Export</translation>
    </message>
    <message>
        <source>固件路径：</source>
        <translation>File Path:</translation>
    </message>
    <message>
        <source>  加载</source>
        <translation>Loading</translation>
    </message>
    <message>
        <source>  版本号自行比较</source>
        <translation>Compare versions</translation>
    </message>
    <message>
        <source> 清空</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>清空串口数据</source>
        <translation>Clear serial port</translation>
    </message>
    <message>
        <source>发送数据</source>
        <translation>Send data</translation>
    </message>
    <message>
        <source>查询成功！</source>
        <translation>Query successful!</translation>
    </message>
    <message>
        <source>已读取数据%1组</source>
        <translation>Data %1 sets have been read</translation>
    </message>
    <message>
        <source>成功</source>
        <translation>Success</translation>
    </message>
    <message>
        <source>数据擦除成功!</source>
        <translation>Data erasing succeeded!</translation>
    </message>
    <message>
        <source>设备接收成功</source>
        <translation>received successfully!</translation>
    </message>
    <message>
        <source>获取设置地址</source>
        <translation>Get setting address</translation>
    </message>
    <message>
        <source>更新实时数据</source>
        <translation>Update real-time data</translation>
    </message>
    <message>
        <source>停止更新实际数据</source>
        <translation>Stop updating actual data</translation>
    </message>
    <message>
        <source>浏览文件夹</source>
        <translation>Browse folder</translation>
    </message>
    <message>
        <source>查询参数</source>
        <translation>Query parameters</translation>
    </message>
    <message>
        <source>提示</source>
        <translation>Tips</translation>
    </message>
    <message>
        <source>是否把传感器参数恢复到出厂设置?</source>
        <translation>Do you restore the inclinometer parameter to 
the factory settings?</translation>
    </message>
    <message>
        <source>一键设置参数</source>
        <translation>One-Click  settings</translation>
    </message>
    <message>
        <source>一键设置参数成功!</source>
        <translation>One-Click  parameter setting succeeded!</translation>
    </message>
    <message>
        <source>一键设置参数失败！！</source>
        <translation>One-Click  parameter setting failed!</translation>
    </message>
    <message>
        <source>一键设置参数成功！</source>
        <translation>One-Click  parameter setting succeeded!</translation>
    </message>
    <message>
        <source>恢复出厂默认值</source>
        <translation>Restore factory defaults</translation>
    </message>
    <message>
        <source>是否把LoRaWAN模块参数恢复到出厂设置?</source>
        <translation>Do you restore the LoRaWAN module parameter to
the factory settings?</translation>
    </message>
    <message>
        <source>频段设置成功！</source>
        <translation>Band setting succeeded!</translation>
    </message>
    <message>
        <source>信道设置成功！</source>
        <translation>Channel setting succeeded!</translation>
    </message>
    <message>
        <source>心跳设置成功！</source>
        <translation>Heartbeat setting succeeded!</translation>
    </message>
    <message>
        <source>保存设置成功！</source>
        <translation>Save setting succeeded!</translation>
    </message>
    <message>
        <source>恢复出厂设置成功！</source>
        <translation>Factory reset setting succeeded!</translation>
    </message>
    <message>
        <source>开始地址和结束地址设置错误!</source>
        <translation>The start address and end address are set
incorrectly!</translation>
    </message>
    <message>
        <source>读取设备数据</source>
        <translation>Read device data</translation>
    </message>
    <message>
        <source>暂停读取设备数据</source>
        <translation>Pause reading device data</translation>
    </message>
    <message>
        <source>继续读取设备数据</source>
        <translation>Continue to read data</translation>
    </message>
    <message>
        <source>数据读取完成!</source>
        <translation>Data read complete!</translation>
    </message>
    <message>
        <source>停止读取设备数据</source>
        <translation>Stop reading device data</translation>
    </message>
    <message>
        <source>删除设备数据</source>
        <translation>Delete data</translation>
    </message>
    <message>
        <source>删除操作将删除传感器保存的数据，请谨慎操作！&lt;br&gt;删除过程用时大约6S，请耐心等待！</source>
        <translation>The delete operation will delete Saved data, please &lt;br&gt;operate with caution! The deletion process takes &lt;br&gt;about 6S, please be patient!</translation>
    </message>
    <message>
        <source>清空表格</source>
        <translation>Clear</translation>
    </message>
    <message>
        <source>导出数据</source>
        <translation>Export data</translation>
    </message>
    <message>
        <source>清空消息</source>
        <translation>Notice cleared</translation>
    </message>
    <message>
        <source>加载固件</source>
        <translation>Load firmware</translation>
    </message>
    <message>
        <source>加载一个固件</source>
        <translation>Load a Firmware</translation>
    </message>
    <message>
        <source>固件(*.ovx)</source>
        <translation>Firmware(*.ovx)</translation>
    </message>
    <message>
        <source>固件大小：%1</source>
        <translation>Firmware size: %1</translation>
    </message>
    <message>
        <source>固件版本号：%1</source>
        <translation>Firmware Version:%1</translation>
    </message>
    <message>
        <source>固件出错，请重新加载！</source>
        <translation>Firmware Error, please reload!</translation>
    </message>
    <message>
        <source>更新固件</source>
        <translation>Update firmware</translation>
    </message>
    <message>
        <source>请求更新固件！</source>
        <translation>Request to update the firmware!</translation>
    </message>
    <message>
        <source>收到响应，进入刷固件流程！</source>
        <translation>Response received, under the firmware flashing process!</translation>
    </message>
    <message>
        <source>已发送%1%</source>
        <translation>Already sent%1%</translation>
    </message>
    <message>
        <source>等待超时，重发!</source>
        <translation>Waiting timeout, resend!</translation>
    </message>
    <message>
        <source>数据写入成功！</source>
        <translation>Data written successfully!</translation>
    </message>
    <message>
        <source>更新完成！</source>
        <translation>Update completed!</translation>
    </message>
    <message>
        <source>数据效验错误，重新发送!</source>
        <translation>Data CRC Error, Resend!</translation>
    </message>
    <message>
        <source>升级包版本型号和设备版本型号不匹配，升级失败!</source>
        <translation>The upgrade packet version model does not match the
 device version model, the upgrade fails!</translation>
    </message>
    <message>
        <source>固件版本号格式错误，升级失败!</source>
        <translation>The format of the firmware version number is wrong,
the upgrade failed!</translation>
    </message>
    <message>
        <source>设备固件版本号比升级包固件版本号高，是否继续升级？</source>
        <translation>The device firmware version number is higher than 
the firmware version number of the upgrade packet.
Do you want to continue the upgrade?</translation>
    </message>
    <message>
        <source>是否将当前参数保存为本地配置文件？&lt;br&gt;此操作不会修改模组内部参数。</source>
        <translation>Save parameters to app storage?&lt;br&gt;Module settings will not be modified.</translation>
    </message>
    <message>
        <source>参数信息</source>
        <translation>parameters</translation>
    </message>
    <message>
        <source>模组参数模板信息保存成功!</source>
        <translation>Module parameter template information&lt;br&gt;saved successfully!</translation>
    </message>
    <message>
        <source>是否从本地加载参数模板？&lt;br&gt;加载后需点击【一键设置】生效。</source>
        <translation>Load parameter template from app storage?&lt;br&gt;After loading, click [One-Click Setup] to&lt;br&gt;activate the settings.</translation>
    </message>
    <message>
        <source>模组参数模板信息加载成功!</source>
        <translation>Module parameter template information&lt;br&gt;loaded successfully!</translation>
    </message>
    <message>
        <source>是否将当前参数保存为本地配置文件？&lt;br&gt;此操作不会修改传感器内部参数。</source>
        <translation>Save parameters to app storage? &lt;br&gt;Sensor settings will not be modified.</translation>
    </message>
    <message>
        <source>传感器参数模板保存成功!</source>
        <translation>Sensor parameter template information&lt;br&gt;saved successfully!</translation>
    </message>
    <message>
        <source>传感器参数模板信息加载成功!</source>
        <translation>Sensor parameter template information&lt;br&gt;loaded successfully!</translation>
    </message>
    <message>
        <source>串口已断开：设备已移除</source>
        <translation>Serial port closed: device removed</translation>
    </message>
    <message>
        <source>设备已接回，但没有权限打开 %1（用户组 %2）</source>
        <translation>The device is back, but there is no permission to open %1 (group %2)</translation>
    </message>
    <message>
        <source>自动重连</source>
        <translation>Auto reconnect</translation>
    </message>
    <message>
        <source>串口已重新连接</source>
        <translation>Port reconnected</translation>
    </message>
    <message>
        <source>设备已断开，固件更新已取消</source>
        <translation>Device disconnected: firmware update cancelled</translation>
    </message>
    <message>
        <source>设备已断开，固件更新已取消。设备重新连接后请重新下载。</source>
        <translation>The device was disconnected and the firmware update was cancelled. Download again once the device is back.</translation>
    </message>
    <message>
        <source>无法写入记录文件：%1</source>
        <translation>Cannot write the record file: %1</translation>
    </message>
    <message>
        <source>模板无法写入：%1</source>
        <translation>The template could not be written: %1</translation>
    </message>
    <message>
        <source>正在完成与设备的交换，完成后关闭窗口……</source>
        <translation>Finishing the exchange with the device; the window closes when it is done...</translation>
    </message>
    <message>
        <source>模板中的值无效，未加载：%1</source>
        <translation>Invalid values in the template, nothing was loaded: %1</translation>
    </message>
    <message>
        <source>文件导出失败，无法写入：%1</source>
        <translation>Export failed, the file could not be written: %1</translation>
    </message>
</context>
<context>
    <name>ChartTab</name>
    <message>
        <source>实时曲线</source>
        <translation>Chart</translation>
    </message>
    <message>
        <source>时间窗</source>
        <translation>Time span</translation>
    </message>
    <message>
        <source>1 分钟</source>
        <translation>1 min</translation>
    </message>
    <message>
        <source>10 分钟</source>
        <translation>10 min</translation>
    </message>
    <message>
        <source>60 分钟</source>
        <translation>60 min</translation>
    </message>
    <message>
        <source>温度</source>
        <translation>Temperature</translation>
    </message>
    <message>
        <source>自动缩放</source>
        <translation>Autoscale</translation>
    </message>
    <message>
        <source>暂停滚动</source>
        <translation>Pause scrolling</translation>
    </message>
    <message>
        <source>绘制存储记录</source>
        <translation>Plot stored records</translation>
    </message>
    <message>
        <source>保存图片</source>
        <translation>Save picture</translation>
    </message>
    <message>
        <source>实时数据</source>
        <translation>Live</translation>
    </message>
    <message>
        <source>存储记录</source>
        <translation>Stored records</translation>
    </message>
    <message>
        <source>读取记录后按“绘制存储记录”。</source>
        <translation>After a readback, press “Plot stored records”.</translation>
    </message>
    <message>
        <source>%1 条记录，%2 处时间间断</source>
        <translation>%1 records, gaps in time: %2</translation>
    </message>
    <message>
        <source>水平仪</source>
        <translation>Level</translation>
    </message>
    <message>
        <source>目标圈半径</source>
        <translation>Target ring</translation>
    </message>
    <message>
        <source>温度 (°C)</source>
        <translation>Temperature (°C)</translation>
    </message>
    <message>
        <source>加速度 (g)</source>
        <translation>Acceleration (g)</translation>
    </message>
    <message>
        <source>角度 (°)</source>
        <translation>Angle (°)</translation>
    </message>
    <message>
        <source>PNG 图片 (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>错误</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>图片保存失败，无法写入：%1</source>
        <translation>The picture could not be saved, cannot write: %1</translation>
    </message>
</context>
</TS>
