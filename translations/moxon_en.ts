<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="zh_CN">
<context>
    <name>BuildSheet</name>
    <message>
        <source>由 Moxon 矩形天线计算器生成。长度单位为 %1；谐振点、驻波比、前后比与公差是 nec2c 对上述导线与架设的计算值。</source>
        <translation>Made by the Moxon rectangle calculator. Lengths in %1; the SWR dip, the SWR, the front-to-back and the tolerances are nec2c&apos;s for the wire and the installation above.</translation>
    </message>
    <message>
        <source>Moxon 矩形天线施工单</source>
        <translation>Moxon rectangle build sheet</translation>
    </message>
    <message>
        <source>尺寸：%1，%2极化。导线：%3。</source>
        <translation>Dimensions: %1, %2 polarization. Wire: %3.</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>架设：%1。</source>
        <translation>Installation: %1.</translation>
    </message>
    <message>
        <source>按架设调谐后的尺寸</source>
        <translation>tuned where the antenna hangs</translation>
    </message>
    <message>
        <source>给定的尺寸</source>
        <translation>as given</translation>
    </message>
    <message>
        <source>公式计算的尺寸</source>
        <translation>the formula&apos;s</translation>
    </message>
    <message>
        <source>自由空间</source>
        <translation>free space</translation>
    </message>
    <message>
        <source>中心离地 %1（%2 λ）</source>
        <translation>centre %1 (%2 λ) above</translation>
    </message>
    <message>
        <source>%1，理想地面</source>
        <translation>perfect ground, %1</translation>
    </message>
    <message>
        <source>%1，%2 εr %3 σ %4 S/m</source>
        <translation>%2 (εr %3, σ %4 S/m), %1</translation>
    </message>
    <message>
        <source>实际地面</source>
        <translation>Real ground</translation>
    </message>
    <message>
        <source>驱动单元：两个半边</source>
        <translation>Driven element: two halves</translation>
    </message>
    <message>
        <source>反射单元：一根</source>
        <translation>Reflector: one piece</translation>
    </message>
    <message>
        <source>馈电点（间隙 %1）</source>
        <translation>Feed point (gap %1)</translation>
    </message>
    <message>
        <source>尾端绝缘子</source>
        <translation>Tail insulator</translation>
    </message>
    <message>
        <source>中心座</source>
        <translation>Hub</translation>
    </message>
    <message>
        <source>波束方向</source>
        <translation>Beam</translation>
    </message>
    <message>
        <source>尺寸</source>
        <translation>Dimensions</translation>
    </message>
    <message>
        <source>单元长边</source>
        <translation>Long side of each element</translation>
    </message>
    <message>
        <source>驱动单元尾长</source>
        <translation>Driven element&apos;s tail</translation>
    </message>
    <message>
        <source>尾端间隙</source>
        <translation>Gap between the tail tips</translation>
    </message>
    <message>
        <source>反射单元尾长</source>
        <translation>Reflector&apos;s tail</translation>
    </message>
    <message>
        <source>纵深 = B + C + D</source>
        <translation>Depth = B + C + D</translation>
    </message>
    <message>
        <source>含义</source>
        <translation>What it is</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>可短</source>
        <translation>Shorter</translation>
    </message>
    <message>
        <source>可长</source>
        <translation>Longer</translation>
    </message>
    <message>
        <source>可短、可长：该尺寸单独改变时，设计频率上驻波比仍 ≤ %1、前后比下降不超过 %2 dB 的范围（≥：搜索范围内都在限度内）。</source>
        <translation>Shorter, longer: how far that dimension alone may change while the SWR at the design frequency stays at %1 or less and the front-to-back falls by %2 dB at most (≥: within both limits as far as the search went).</translation>
    </message>
    <message>
        <source>公差未计算：在检查窗口的“公差”页计算后再打印，或用 moxon-cli sheet --tolerances。</source>
        <translation>Tolerances not computed: compute them in the check window&apos;s Tolerances tab before printing, or run moxon-cli sheet --tolerances.</translation>
    </message>
    <message>
        <source>下料单</source>
        <translation>Cut list</translation>
    </message>
    <message>
        <source>线段</source>
        <translation>Piece</translation>
    </message>
    <message>
        <source>数量</source>
        <translation>Count</translation>
    </message>
    <message>
        <source>挂线长度</source>
        <translation>Span</translation>
    </message>
    <message>
        <source>绕线余量</source>
        <translation>Wrap allowance</translation>
    </message>
    <message>
        <source>下料长度</source>
        <translation>Cut length</translation>
    </message>
    <message>
        <source>驱动单元半边：馈电点至尾端</source>
        <translation>Driven element half: feed point to tail tip</translation>
    </message>
    <message>
        <source>反射单元：尾端至尾端</source>
        <translation>Reflector: tail tip to tail tip</translation>
    </message>
    <message>
        <source>导线合计</source>
        <translation>Wire in all</translation>
    </message>
    <message>
        <source>挂线长度从绝缘子孔量到绝缘子孔，下料长度另加两端绕在绝缘子上的余量。馈电间隙 %1：驱动单元两个半边在中心绝缘子上相隔的距离，由馈线引线跨接，每个半边已扣除一半。</source>
        <translation>The span is measured from insulator hole to insulator hole; the cut length adds the wire wrapped round the insulators at both ends. Feed gap %1: between the driven element&apos;s halves at the centre insulator, bridged by the feed line&apos;s leads; half of it is taken off each half.</translation>
    </message>
    <message>
        <source>尾端绝缘子两个：每侧驱动单元尾端与反射单元尾端相距 C = %1（孔到孔）。</source>
        <translation>Tail insulators, two: on each side the driven element&apos;s and the reflector&apos;s tail tips are C = %1 apart, hole to hole.</translation>
    </message>
    <message>
        <source>X 形撑杆</source>
        <translation>X-frame spreader</translation>
    </message>
    <message>
        <source>部件</source>
        <translation>Part</translation>
    </message>
    <message>
        <source>长度或角度</source>
        <translation>Length or angle</translation>
    </message>
    <message>
        <source>支臂：中心座中心至一角</source>
        <translation>Spreader arm: hub centre to a corner</translation>
    </message>
    <message>
        <source>同一端两支臂的夹角（跨 E）</source>
        <translation>Angle between the arms at one end (across E)</translation>
    </message>
    <message>
        <source>同一单元两端支臂的夹角（跨 A）</source>
        <translation>Angle between the arms at the ends of one element (across A)</translation>
    </message>
    <message>
        <source>nec2c 预测</source>
        <translation>Predicted by nec2c</translation>
    </message>
    <message>
        <source>扫频范围（±5 %）内没有谐振点</source>
        <translation>no dip within the sweep (±5 %)</translation>
    </message>
    <message>
        <source>前后比（主瓣仰角 %1）</source>
        <translation>Front-to-back (take-off angle %1)</translation>
    </message>
    <message>
        <source>前后比</source>
        <translation>Front-to-back</translation>
    </message>
    <message>
        <source>项目</source>
        <translation>Figure</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>谐振点（驻波比最低处）</source>
        <translation>SWR dip (lowest SWR)</translation>
    </message>
    <message>
        <source>设计频率上的驻波比（50 Ω）</source>
        <translation>SWR at the design frequency (50 Ω)</translation>
    </message>
    <message>
        <source>增益</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>馈点阻抗</source>
        <translation>Feed-point impedance</translation>
    </message>
    <message>
        <source>代号</source>
        <translation>Letter</translation>
    </message>
</context>
<context>
    <name>CheckFigureFormat</name>
    <message>
        <source>无（设计频率上驻波比大于 2）</source>
        <translation>none (SWR above 2 at the design frequency)</translation>
    </message>
    <message>
        <source>%1 MHz（%2 %）</source>
        <translation>%1 MHz (%2 %)</translation>
    </message>
    <message>
        <source>已达扫频两端</source>
        <translation>reaches both ends of the sweep</translation>
    </message>
    <message>
        <source>已达扫频下端</source>
        <translation>reaches the lower end of the sweep</translation>
    </message>
    <message>
        <source>已达扫频上端</source>
        <translation>reaches the upper end of the sweep</translation>
    </message>
    <message>
        <source>无 −3 dB 点</source>
        <translation>no −3 dB points</translation>
    </message>
</context>
<context>
    <name>CheckFigures</name>
    <message>
        <source>绝缘使驻波最低点降低 %1 %：%2 → %3 MHz</source>
        <extracomment>What the insulation does to the SWR dip: its share, the bare wire&apos;s dip, the insulated&apos;s.</extracomment>
        <translation>the insulation lowers the SWR dip by %1 %: %2 → %3 MHz</translation>
    </message>
    <message>
        <source>绝缘使驻波最低点升高 %1 %：%2 → %3 MHz</source>
        <translation>the insulation raises the SWR dip by %1 %: %2 → %3 MHz</translation>
    </message>
</context>
<context>
    <name>CheckHeader</name>
    <message>
        <source>%1 MHz，线材 %2 %3，%4极化，波束沿 %5 轴</source>
        <translation>%1 MHz, wire %2 %3, %4 polarization, beam along the %5 axis</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>vertical</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>horizontal</translation>
    </message>
    <message>
        <source>自由空间</source>
        <translation>Free space</translation>
    </message>
    <message>
        <source>%1 (%2 λ) 高</source>
        <translation>%1 (%2 λ) high</translation>
    </message>
    <message>
        <source>理想地面</source>
        <translation>Perfect ground</translation>
    </message>
    <message>
        <source>实际地面</source>
        <translation>Real ground</translation>
    </message>
    <message>
        <source>导线 σ %1 S/m</source>
        <translation>Wire σ %1 S/m</translation>
    </message>
    <message>
        <source>，</source>
        <extracomment>Between the parts of the installation in the check&apos;s header.
----------
Between the wire and its insulation on the build sheet.</extracomment>
        <translation> · </translation>
    </message>
    <message>
        <source>；</source>
        <extracomment>Between the design and its installation in the check&apos;s header.</extracomment>
        <translation>; </translation>
    </message>
    <message>
        <source>%1 绝缘 %2 (εr %3)</source>
        <translation>%1 insulation %2 (εr %3)</translation>
    </message>
    <message>
        <source>自定义</source>
        <translation>custom</translation>
    </message>
</context>
<context>
    <name>Installation</name>
    <message>
        <source>很差地面</source>
        <translation>Very poor ground</translation>
    </message>
    <message>
        <source>城市、工业区</source>
        <translation>Cities, industrial areas</translation>
    </message>
    <message>
        <source>较差地面</source>
        <translation>Poor ground</translation>
    </message>
    <message>
        <source>岩石、陡峭山地</source>
        <translation>Rocky soil, steep hills</translation>
    </message>
    <message>
        <source>一般地面</source>
        <translation>Average ground</translation>
    </message>
    <message>
        <source>牧场、黏土</source>
        <translation>Pastoral land, heavy clay</translation>
    </message>
    <message>
        <source>很好地面</source>
        <translation>Very good ground</translation>
    </message>
    <message>
        <source>牧场、肥沃土壤</source>
        <translation>Pastoral land, rich soil</translation>
    </message>
    <message>
        <source>淡水</source>
        <translation>Fresh water</translation>
    </message>
    <message>
        <source>海水</source>
        <translation>Sea water</translation>
    </message>
    <message>
        <source>理想导线</source>
        <translation>Perfect wire</translation>
    </message>
    <message>
        <source>铜</source>
        <translation>Copper</translation>
    </message>
    <message>
        <source>铜线</source>
        <translation>Copper wire</translation>
    </message>
    <message>
        <source>铝</source>
        <translation>Aluminium</translation>
    </message>
    <message>
        <source>铝线</source>
        <translation>Aluminium wire</translation>
    </message>
    <message>
        <source>PVC</source>
        <translation>PVC</translation>
    </message>
    <message>
        <source>聚乙烯</source>
        <translation>Polyethylene</translation>
    </message>
    <message>
        <source>PTFE</source>
        <translation>PTFE</translation>
    </message>
</context>
<context>
    <name>TuneGoal</name>
    <message>
        <source>匹配 50 Ω</source>
        <translation>Match 50 Ω</translation>
    </message>
    <message>
        <source>最大前后比</source>
        <translation>Best front-to-back</translation>
    </message>
    <message>
        <source>覆盖波段</source>
        <translation>Cover the band</translation>
    </message>
</context>
<context>
    <name>moxon::AnalysisPanel</name>
    <message>
        <source>取消</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1：nec2c 已运行 %2 次（第 %3 轮）</source>
        <translation>%1: nec2c has run %2 times (round %3)</translation>
    </message>
    <message>
        <source>已取消。</source>
        <translation>Cancelled.</translation>
    </message>
    <message>
        <source>（nec2c 运行 %1 次，%2 秒）</source>
        <translation> (%1 nec2c runs, %2 s)</translation>
    </message>
</context>
<context>
    <name>moxon::AntennaDiagram</name>
    <message>
        <source>单击打开设计检查 (Ctrl+D)</source>
        <translation>Click for the design check (Ctrl+D)</translation>
    </message>
    <message>
        <source>设计检查…(&amp;D)</source>
        <translation>&amp;Design Check…</translation>
    </message>
</context>
<context>
    <name>moxon::CheckWindow</name>
    <message>
        <source>设计检查</source>
        <translation>Design Check</translation>
    </message>
    <message>
        <source>方位方向图（水平面，前方朝上）</source>
        <translation>Azimuth pattern (horizontal plane, forward up)</translation>
    </message>
    <message>
        <source>方位方向图</source>
        <translation>Azimuth pattern</translation>
    </message>
    <message>
        <source>仰角方向图（波束所在垂直面，前方朝右）</source>
        <translation>Elevation pattern (vertical plane of the beam, forward right)</translation>
    </message>
    <message>
        <source>仰角方向图</source>
        <translation>Elevation pattern</translation>
    </message>
    <message>
        <source>保存图像…</source>
        <translation>Save Image…</translation>
    </message>
    <message>
        <source>导出数据…</source>
        <translation>Export Data…</translation>
    </message>
    <message>
        <source>（调谐后）</source>
        <translation> (tuned)</translation>
    </message>
    <message>
        <source>正在用 nec2c 计算…</source>
        <translation>Calculating with nec2c…</translation>
    </message>
    <message>
        <source>检查已停止。</source>
        <translation>Check stopped.</translation>
    </message>
    <message>
        <source>方位方向图（仰角 %1，前方朝上）</source>
        <translation>Azimuth pattern (elevation %1, forward up)</translation>
    </message>
    <message>
        <source>正在用 nec2c 计算驻波比曲线…</source>
        <translation>Calculating the SWR curve with nec2c…</translation>
    </message>
    <message>
        <source>nec2c 已算完：设计频率与 %1 个扫频点。</source>
        <translation>nec2c is done: the design frequency and %1 sweep points.</translation>
    </message>
    <message>
        <source>设计检查 — %1</source>
        <translation>Design Check — %1</translation>
    </message>
    <message>
        <source>保存图像</source>
        <translation>Save Image</translation>
    </message>
    <message>
        <source>导出数据</source>
        <translation>Export Data</translation>
    </message>
    <message>
        <source>数值</source>
        <translation>Figures</translation>
    </message>
    <message>
        <source>调谐结果</source>
        <translation>Tuning</translation>
    </message>
    <message>
        <source>nec2c 已算完：设计频率与 %1 个扫频点，其余为有理拟合（两次拟合相差 %2 Ω）。</source>
        <translation>nec2c is done: the design frequency and %1 sweep points, the rest from a rational fit (two fits within %2 Ω).</translation>
    </message>
    <message>
        <source>公差</source>
        <translation>Tolerances</translation>
    </message>
    <message>
        <source>实测</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>打印施工单</source>
        <translation>Print Build Sheet</translation>
    </message>
    <message>
        <source>在默认打印机上打印施工单：下料长度、绝缘子间距、撑杆与预测值</source>
        <translation>Print the build sheet on the default printer: the lengths to cut, the insulator spacing, the spreaders and the predictions</translation>
    </message>
    <message>
        <source>保存施工单 PDF…</source>
        <translation>Save Build Sheet as PDF…</translation>
    </message>
    <message>
        <source>史密斯圆图</source>
        <translation>Smith Chart</translation>
    </message>
    <message>
        <source>史密斯圆图归一化到 50 Ω。把指针移到圆图上，这里显示指针处的频率、阻抗与驻波比。</source>
        <translation>The Smith chart is normalised to 50 Ω. Move the pointer over it to read the frequency, impedance and SWR under it here.</translation>
    </message>
    <message>
        <source>保存施工单</source>
        <translation>Save Build Sheet</translation>
    </message>
</context>
<context>
    <name>moxon::FeedLineRow</name>
    <message>
        <source>馈线</source>
        <translation>Feed line</translation>
    </message>
    <message>
        <source>长度</source>
        <translation>Length</translation>
    </message>
    <message>
        <source>匹配损耗</source>
        <translation>Matched loss</translation>
    </message>
    <message>
        <source>无（馈点）</source>
        <translation>None (at the feed point)</translation>
    </message>
    <message>
        <source>%1：%2 Ω，速度因子 %3</source>
        <translation>%1: %2 Ω, velocity factor %3</translation>
    </message>
    <message>
        <source>自定义馈线</source>
        <translation>Line of your own</translation>
    </message>
    <message>
        <source>天线到电台之间的同轴电缆：检查另给出电台端的阻抗、驻波比与馈线损耗</source>
        <translation>The coaxial cable from the antenna to the radio: the check adds the impedance and SWR at the radio and what the line loses</translation>
    </message>
    <message>
        <source>dB/100 m（%1 MHz）</source>
        <translation>dB/100 m (%1 MHz)</translation>
    </message>
    <message>
        <source>%1 Ω，VF %2，%3 dB/100 m（%4 MHz）</source>
        <translation>%1 Ω, VF %2, %3 dB/100 m (%4 MHz)</translation>
    </message>
</context>
<context>
    <name>moxon::FigureTable</name>
    <message>
        <source>馈点阻抗</source>
        <translation>Feed impedance</translation>
    </message>
    <message>
        <source>驻波比</source>
        <translation>SWR</translation>
    </message>
    <message>
        <source>主瓣仰角</source>
        <translation>Take-off angle</translation>
    </message>
    <message>
        <source>增益</source>
        <translation>Gain</translation>
    </message>
    <message>
        <source>前后比</source>
        <translation>Front-to-back</translation>
    </message>
    <message>
        <source>带宽</source>
        <translation>Bandwidth</translation>
    </message>
    <message>
        <source>波束宽度</source>
        <translation>Beamwidth</translation>
    </message>
    <message>
        <source>驻波最低点</source>
        <translation>SWR dip</translation>
    </message>
    <message>
        <source>%1 MHz（裸线的最低点在扫频范围之外）</source>
        <extracomment>The SWR dip of insulated wire, where the bare wire&apos;s lies beyond the sweep.</extracomment>
        <translation>%1 MHz (the bare wire&apos;s dip lies beyond the sweep)</translation>
    </message>
    <message>
        <source>电台端</source>
        <translation>At the radio</translation>
    </message>
    <message>
        <source>馈线损耗</source>
        <translation>Line loss</translation>
    </message>
    <message>
        <source>电台端带宽</source>
        <translation>Bandwidth at the radio</translation>
    </message>
    <message>
        <source>%1，驻波比 %2</source>
        <translation>%1, SWR %2</translation>
    </message>
    <message>
        <source>匹配 %1 dB，总 %2 dB；%3 W 中 %4 W 到达天线</source>
        <translation>%1 dB matched, %2 dB total; %4 W of %3 W reach the antenna</translation>
    </message>
    <message>
        <source>在扫频范围之外</source>
        <translation>beyond the sweep</translation>
    </message>
</context>
<context>
    <name>moxon::InstallationPanel</name>
    <message>
        <source>自定义 σ</source>
        <translation>Custom σ</translation>
    </message>
    <message>
        <source>自由空间</source>
        <translation>Free space</translation>
    </message>
    <message>
        <source>理想地面</source>
        <translation>Perfect ground</translation>
    </message>
    <message>
        <source>%1：εr %2，σ %3 S/m</source>
        <translation>%1: εr %2, σ %3 S/m</translation>
    </message>
    <message>
        <source>自定义地面</source>
        <translation>Custom ground</translation>
    </message>
    <message>
        <source>离地高度</source>
        <translation>Height</translation>
    </message>
    <message>
        <source>地面</source>
        <translation>Ground</translation>
    </message>
    <message>
        <source>导线</source>
        <translation>Wire</translation>
    </message>
    <message>
        <source>%1（%2 λ）</source>
        <translation>%1 (%2 λ)</translation>
    </message>
</context>
<context>
    <name>moxon::InsulationBox</name>
    <message>
        <source>绝缘</source>
        <translation>Insulation</translation>
    </message>
    <message>
        <source>厚度</source>
        <translation>thickness</translation>
    </message>
    <message>
        <source>裸线</source>
        <translation>Bare wire</translation>
    </message>
    <message>
        <source>εr %1</source>
        <translation>εr %1</translation>
    </message>
    <message>
        <source>自定义 εr</source>
        <translation>Custom εr</translation>
    </message>
    <message>
        <source>从导体表面到绝缘层外表面的厚度</source>
        <translation>From the surface of the metal to the surface of the insulation</translation>
    </message>
</context>
<context>
    <name>moxon::SmithChart</name>
    <message>
        <source>模型（馈点）</source>
        <translation>Model (feed point)</translation>
    </message>
    <message>
        <source>模型（电台端）</source>
        <translation>Model (at the radio)</translation>
    </message>
    <message>
        <source>实测（电台端）</source>
        <translation>Measured (at the radio)</translation>
    </message>
    <message>
        <source>实测（馈点）</source>
        <translation>Measured (feed point)</translation>
    </message>
    <message>
        <source>修剪后预测</source>
        <translation>Predicted after trim</translation>
    </message>
    <message>
        <source>设计频率</source>
        <translation>Design frequency</translation>
    </message>
    <message>
        <source>%1 频段边缘</source>
        <translation>%1 band edges</translation>
    </message>
    <message>
        <source>驻波比 1.5 / 2</source>
        <translation>SWR 1.5 / 2</translation>
    </message>
    <message>
        <source>保存圆图…</source>
        <translation>Save Smith Chart…</translation>
    </message>
    <message>
        <source>史密斯圆图</source>
        <translation>Smith chart</translation>
    </message>
    <message>
        <source>%1
%2
%3，驻波比 %4</source>
        <translation>%1
%2
%3, SWR %4</translation>
    </message>
    <message>
        <source>%1，驻波比 %2</source>
        <translation>%1, SWR %2</translation>
    </message>
    <message>
        <source>保存圆图</source>
        <translation>Save Smith Chart</translation>
    </message>
    <message>
        <source>诊断拟合的模型</source>
        <translation>Diagnosis fit</translation>
    </message>
</context>
<context>
    <name>moxon::SwrChart</name>
    <message>
        <source>驻波比 1.5 / 2</source>
        <translation>SWR 1.5 / 2</translation>
    </message>
    <message>
        <source>设计频率</source>
        <translation>Design frequency</translation>
    </message>
    <message>
        <source>公式设计</source>
        <translation>Formula design</translation>
    </message>
    <message>
        <source>驻波比</source>
        <translation>SWR</translation>
    </message>
    <message>
        <source>驻波比曲线</source>
        <translation>SWR curve</translation>
    </message>
    <message>
        <source>%1 频段边缘</source>
        <translation>%1 band edges</translation>
    </message>
    <message>
        <source>nec2c 逐点计算全部 41 个频点</source>
        <translation>nec2c runs all 41 sweep points</translation>
    </message>
    <message>
        <source>实测</source>
        <translation>Measured</translation>
    </message>
    <message>
        <source>修剪后预测</source>
        <translation>Predicted after trim</translation>
    </message>
    <message>
        <source>电台端</source>
        <translation>At the radio</translation>
    </message>
    <message>
        <source>诊断拟合的模型</source>
        <translation>Diagnosis fit</translation>
    </message>
</context>
<context>
    <name>moxon::TolerancePanel</name>
    <message>
        <source>正在计算公差</source>
        <translation>Working out the tolerances</translation>
    </message>
    <message>
        <source>计算公差</source>
        <translation>Calculate</translation>
    </message>
    <message>
        <source>剪切误差 ±</source>
        <translation>Cut error ±</translation>
    </message>
    <message>
        <source>A 的 %1 %</source>
        <translation>%1 % of A</translation>
    </message>
    <message>
        <source>每处剪切可能偏差多少，用于估计成品率；留空则取 A 的 %1 %。</source>
        <translation>How far each cut may be off, for the yield; empty: %1 % of A.</translation>
    </message>
    <message>
        <source>谐振点
kHz/%1</source>
        <translation>Dip
kHz/%1</translation>
    </message>
    <message>
        <source>前后比
dB/%1</source>
        <translation>F/B
dB/%1</translation>
    </message>
    <message>
        <source>可短</source>
        <translation>Shorter</translation>
    </message>
    <message>
        <source>可长</source>
        <translation>Longer</translation>
    </message>
    <message>
        <source>剪切误差须为 0 或正数。</source>
        <translation>The cut error must be 0 or more.</translation>
    </message>
    <message>
        <source>限度：驻波比 ≤ %1，前后比 ≥ %2</source>
        <translation>Limits: SWR ≤ %1, F/B ≥ %2</translation>
    </message>
    <message>
        <source>设计本身已超出限度，各尺寸都没有公差。</source>
        <translation>The design itself is past a limit: no cut has a tolerance.</translation>
    </message>
    <message>
        <source>每处剪切误差 ±%1 时，%2 次模拟中</source>
        <translation>With every cut off by up to ±%1, of %2 builds</translation>
    </message>
    <message>
        <source>成品率 %1 %，谐振点标准差 %2 kHz</source>
        <translation>%1 % within the limits, dip spread %2 kHz</translation>
    </message>
    <message>
        <source>驻波比先超过限度</source>
        <translation>The SWR passes its limit first</translation>
    </message>
    <message>
        <source>前后比先降过限度</source>
        <translation>The front-to-back falls past its limit first</translation>
    </message>
    <message>
        <source>搜索范围内都在限度内</source>
        <translation>Within both limits as far as searched</translation>
    </message>
    <message>
        <source>设计本身已超出限度</source>
        <translation>The design itself is past a limit</translation>
    </message>
    <message>
        <source>公差已算完%1。</source>
        <translation>Tolerances done%1.</translation>
    </message>
</context>
<context>
    <name>moxon::TrimPanel</name>
    <message>
        <source>驱动单元两端不动</source>
        <translation>Leave the driven tails</translation>
    </message>
    <message>
        <source>反射单元两端不动</source>
        <translation>Leave the reflector tails</translation>
    </message>
    <message>
        <source>驱动单元两端各剪 %1</source>
        <translation>Cut %1 from each driven tail</translation>
    </message>
    <message>
        <source>反射单元两端各剪 %1</source>
        <translation>Cut %1 from each reflector tail</translation>
    </message>
    <message>
        <source>驱动单元两端各加 %1</source>
        <translation>Add %1 to each driven tail</translation>
    </message>
    <message>
        <source>反射单元两端各加 %1</source>
        <translation>Add %1 to each reflector tail</translation>
    </message>
    <message>
        <source>正在计算修剪</source>
        <translation>Working out the trim</translation>
    </message>
    <message>
        <source>实测…</source>
        <translation>Measured…</translation>
    </message>
    <message>
        <source>打开天线分析仪保存的单端口 Touchstone 文件（.s1p），按其驻波比最低点计算修剪</source>
        <translation>Opens the one-port Touchstone file (.s1p) an antenna analyser saved, and trims from its SWR dip</translation>
    </message>
    <message>
        <source>计算修剪</source>
        <translation>Trim</translation>
    </message>
    <message>
        <source>实测谐振点</source>
        <translation>Measured dip</translation>
    </message>
    <message>
        <source>目标频率</source>
        <translation>Target</translation>
    </message>
    <message>
        <source>来自 %1</source>
        <translation>from %1</translation>
    </message>
    <message>
        <source>打开实测文件</source>
        <translation>Open Measurement</translation>
    </message>
    <message>
        <source>Touchstone 单端口文件 (*.s1p *.S1P);;所有文件 (*)</source>
        <translation>Touchstone one-port files (*.s1p *.S1P);;All files (*)</translation>
    </message>
    <message>
        <source>目标频率须为正数（MHz），留空则取设计频率。</source>
        <translation>The target must be a positive frequency in MHz; empty: the design frequency.</translation>
    </message>
    <message>
        <source>请输入实测谐振点频率（MHz），或用“实测…”打开分析仪的文件。</source>
        <translation>Type the measured dip in MHz, or open the analyser&apos;s file with &quot;Measured…&quot;.</translation>
    </message>
    <message>
        <source>预测谐振点 %1
%2 处驻波比 %3，前后比 %4</source>
        <translation>Predicted dip %1
at %2 SWR %3, F/B %4</translation>
    </message>
    <message>
        <source>实测谐振点 %1</source>
        <translation>Measured dip %1</translation>
    </message>
    <message>
        <source>（该处驻波比 %1）</source>
        <translation>(SWR %1 there)</translation>
    </message>
    <message>
        <source>模型谐振点 %1</source>
        <translation>Model dip %1</translation>
    </message>
    <message>
        <source>电尺度 %1（比模型长 %2 %）</source>
        <translation>Scale %1 (%2 % longer than the model)</translation>
    </message>
    <message>
        <source>电尺度 %1（比模型短 %2 %）</source>
        <translation>Scale %1 (%2 % shorter than the model)</translation>
    </message>
    <message>
        <source>现场修剪（A、E 不变）</source>
        <translation>Field trim (A and E stay)</translation>
    </message>
    <message>
        <source>%1 %2 → %3 %4</source>
        <translation>%1 %2 → %3 %4</translation>
    </message>
    <message>
        <source>只改两端的长度无法把谐振点移到目标，
请按下面的尺寸重做。</source>
        <translation>The tails alone cannot bring the dip
to the target: rebuild to these.</translation>
    </message>
    <message>
        <source>重做（各尺寸按目标频率）</source>
        <translation>Rebuild (every dimension for the target)</translation>
    </message>
    <message>
        <source>修剪已算完%1。</source>
        <translation>Trim done%1.</translation>
    </message>
    <message>
        <source>来自 %1，在电台端测得（谐振点 %2 MHz），已经馈线换算到馈点</source>
        <translation>From %1, measured at the radio (dip %2 MHz), turned back to the feed point through the line</translation>
    </message>
    <message>
        <source>来自 %1，在电台端测得（范围内无谐振点），已经馈线换算到馈点</source>
        <translation>From %1, measured at the radio (no dip in its range), turned back to the feed point through the line</translation>
    </message>
    <message>
        <source>文件在电台端（经馈线）测得</source>
        <translation>File measured at the radio, through the feed line</translation>
    </message>
    <message>
        <source>先按安装中的馈线把文件换算回馈点，再找谐振点；需先选定馈线</source>
        <translation>The file is turned back to the feed point through the installation&apos;s feed line before its dip is found; needs a feed line</translation>
    </message>
    <message>
        <source>正在诊断</source>
        <translation>Diagnosing</translation>
    </message>
    <message>
        <source>诊断</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>按打开的实测文件的阻抗曲线拟合模型，找出哪一段尺寸有偏差以及偏差多少</source>
        <translation>Fits the model to the opened file&apos;s impedance curve to find which cut is off and by how much</translation>
    </message>
    <message>
        <source>（实测无法把它与其余偏差区分）</source>
        <translation> (the measurement cannot tell it from the other errors)</translation>
    </message>
    <message>
        <source>诊断已算完%1。</source>
        <translation>Diagnosis done%1.</translation>
    </message>
    <message>
        <source>拟合 %1 个频点（%2 – %3 MHz），%4 步</source>
        <translation>Fitted %1 frequencies (%2 – %3 MHz) in %4 steps</translation>
    </message>
    <message>
        <source>残差 %1 Ω（均方根），单次读数噪声 %2 Ω</source>
        <translation>Residual %1 Ω RMS against a noise of %2 Ω per reading</translation>
    </message>
    <message>
        <source>实测结果不只是这副天线：请查找附近的导体、馈线上的共模电流，或馈线是否有误。</source>
        <translation>The measurement is not this antenna alone: look for a nearby conductor, common-mode current on the feed line, or a wrong feed line.</translation>
    </message>
    <message>
        <source>模型按实际尺寸解释了实测，偏差如下：</source>
        <translation>The model of the dimensions as built explains the measurement with these errors:</translation>
    </message>
    <message>
        <source>电尺度 %1%2</source>
        <translation>Electrical scale %1%2</translation>
    </message>
    <message>
        <source>驱动单元两端各长 %1%2</source>
        <translation>Driven element: each tail %1%2 too long</translation>
    </message>
    <message>
        <source>驱动单元两端各短 %1%2</source>
        <translation>Driven element: each tail %1%2 too short</translation>
    </message>
    <message>
        <source>反射单元两端各长 %1%2</source>
        <translation>Reflector: each tail %1%2 too long</translation>
    </message>
    <message>
        <source>反射单元两端各短 %1%2</source>
        <translation>Reflector: each tail %1%2 too short</translation>
    </message>
    <message>
        <source>间隙 C 宽 %1%2</source>
        <translation>Gap C %1%2 too wide</translation>
    </message>
    <message>
        <source>间隙 C 窄 %1%2</source>
        <translation>Gap C %1%2 too narrow</translation>
    </message>
    <message>
        <source>馈线电长度比给定长 %1%2</source>
        <translation>Feed line electrically %1%2 longer than given</translation>
    </message>
    <message>
        <source>馈线电长度比给定短 %1%2</source>
        <translation>Feed line electrically %1%2 shorter than given</translation>
    </message>
    <message>
        <source>按诊断出的天线修剪（各剪加量相对于它现在的样子）</source>
        <translation>The trim of the antenna as diagnosed, each cut a change to it as it is</translation>
    </message>
    <message>
        <source>无法给出修剪。</source>
        <translation>No trim can be given.</translation>
    </message>
    <message>
        <source>此修剪对两者都能保持前后比
（两端偏长时为 %1）。</source>
        <translation>this cut keeps the front-to-back of both
(%1 with long tails).</translation>
    </message>
    <message>
        <source>两端偏长到在此谐振会使间隙 C 或某一端
短于原来的一半，此修剪只按整体偏长选出。</source>
        <translation>tails long enough to dip there would leave the gap C or a tail
less than half of itself, so this cut is chosen for an antenna longer all over.</translation>
    </message>
    <message>
        <source>仅凭谐振点无法区分整体偏长的天线
与两端偏长的天线；%1
用含整条阻抗曲线的实测文件“诊断”可区分两者。</source>
        <translation>A dip alone cannot tell an antenna longer all over
from one whose tails are long; %1
A file of the whole impedance curve tells them apart: Diagnose.</translation>
    </message>
    <message>
        <source>设计频率 ±%1 % 内只有 %2 个频点，至少需要 %3 个才能诊断；
下面按文件的谐振点修剪。</source>
        <translation>Only %2 frequencies within ±%1 % of the design frequency; a diagnosis needs %3.
The trim below is from the file&apos;s dip.</translation>
    </message>
    <message>
        <source>E 加长 %1（角点沿撑杆外移）</source>
        <translation>E %1 deeper (the corners out along the spreaders)</translation>
    </message>
    <message>
        <source>E 缩短 %1（角点沿撑杆内移）</source>
        <translation>E %1 shallower (the corners in along the spreaders)</translation>
    </message>
    <message>
        <source>框架可调：现场修剪也改间隙 C</source>
        <translation>Adjustable frame: the field trim changes the gap C too</translation>
    </message>
    <message>
        <source>单元角点可沿撑杆移动时，修剪连同 E（即间隙 C）一起调整，框架本身尺寸有偏差时也能找回前后比；仅凭谐振点修剪时不用</source>
        <translation>Where the elements&apos; corners can move along the spreaders, the trim changes E (and so the gap C) too, which brings the front-to-back back where the frame itself is the wrong size; not from a dip alone</translation>
    </message>
    <message>
        <source>现场修剪（A 不变）</source>
        <translation>Field trim (A stays)</translation>
    </message>
    <message>
        <source>若单元角点可沿撑杆移动，连同 E 一起修剪（A 不变）</source>
        <translation>Where the corners can move along the spreaders, the trim with E too (A stays)</translation>
    </message>
    <message>
        <source>重做可达 %1，设计为 %2</source>
        <translation>the rebuild reaches %1, the design %2</translation>
    </message>
    <message>
        <source>重做可达 %1</source>
        <translation>the rebuild reaches %1</translation>
    </message>
    <message>
        <source>只改两端时前后比仅 %1（%2）：框架本身的尺寸拖了后腿。
若单元角点可沿撑杆移动，勾选“框架可调”连同 E 一起修剪。</source>
        <translation>The tails alone leave the front-to-back at %1 (%2): the frame&apos;s own size holds it back.
Where the corners can move along the spreaders, tick “Adjustable frame” to trim E too.</translation>
    </message>
    <message>
        <source>天线的电尺寸比模型长 %1 %，两端和 E 都补不回来：</source>
        <translation>The antenna behaves %1 % longer than its model, more than the tails and E make up:</translation>
    </message>
    <message>
        <source>天线的电尺寸比模型短 %1 %，两端和 E 都补不回来：</source>
        <translation>The antenna behaves %1 % shorter than its model, more than the tails and E make up:</translation>
    </message>
    <message>
        <source>修剪后前后比仅 %1，应有 %2。</source>
        <translation>the trim leaves the front-to-back at %1, against %2.</translation>
    </message>
    <message>
        <source>换新框架（各尺寸除以电尺度，再把两端修到目标）</source>
        <translation>A new frame (every dimension divided by the scale, then the tails trimmed onto the target)</translation>
    </message>
</context>
<context>
    <name>moxon::TunePanel</name>
    <message>
        <source>调谐</source>
        <translation>Tune</translation>
    </message>
    <message>
        <source>导出调谐模型…</source>
        <translation>Export Tuned Model…</translation>
    </message>
    <message>
        <source>调谐目标</source>
        <translation>Goal</translation>
    </message>
    <message>
        <source>正在调谐：nec2c 已运行 %1 次，目前最佳：驻波比 %2，前后比 %3</source>
        <translation>Tuning: %1 nec2c runs so far; best yet SWR %2, front-to-back %3</translation>
    </message>
    <message>
        <source>调谐已取消。</source>
        <translation>Tuning cancelled.</translation>
    </message>
    <message>
        <source>调谐完成%1：已达目标。</source>
        <translation>Tuning done%1: goal met.</translation>
    </message>
    <message>
        <source>调谐完成%1：未达目标，下面是找到的最佳设计。</source>
        <translation>Tuning done%1: goal not met; below is the best design found.</translation>
    </message>
    <message>
        <source>%1 %2 → %3 %4（%5）</source>
        <translation>%1 %2 → %3 %4 (%5)</translation>
    </message>
    <message>
        <source>驻波比 %1 → %2</source>
        <translation>SWR %1 → %2</translation>
    </message>
    <message>
        <source>前后比 %1 → %2</source>
        <translation>F/B %1 → %2</translation>
    </message>
    <message>
        <source>增益 %1 → %2</source>
        <translation>Gain %1 → %2</translation>
    </message>
    <message>
        <source>波段内最差驻波比 %1 → %2</source>
        <translation>Worst SWR in band %1 → %2</translation>
    </message>
    <message>
        <source>正在调谐</source>
        <translation>Tuning</translation>
    </message>
</context>
<context>
    <name>moxon::frmMoxon</name>
    <message>
        <source>工作频率</source>
        <translation>Freq.</translation>
    </message>
    <message>
        <source>线材尺寸</source>
        <translation>Wire</translation>
    </message>
    <message>
        <source>&amp;计     算</source>
        <translation>&amp;Calculate</translation>
    </message>
    <message>
        <source> 馈电点</source>
        <translation>Feed point</translation>
    </message>
    <message>
        <source>驱动      单元</source>
        <translation>Driven</translation>
    </message>
    <message>
        <source>反射 单元</source>
        <translation>Reflector</translation>
    </message>
    <message>
        <source>单         位</source>
        <translation>Units</translation>
    </message>
    <message>
        <source>英 尺</source>
        <translation>ft</translation>
    </message>
    <message>
        <source>英  吋</source>
        <translation>in</translation>
    </message>
    <message>
        <source>米</source>
        <translation>m</translation>
    </message>
    <message>
        <source>毫  米</source>
        <translation>mm</translation>
    </message>
    <message>
        <source>仿真软件</source>
        <translation>Model format</translation>
    </message>
    <message>
        <source>极化方式</source>
        <translation>Polarization</translation>
    </message>
    <message>
        <source>水平</source>
        <translation>Horiz.</translation>
    </message>
    <message>
        <source>垂直</source>
        <translation>Vert.</translation>
    </message>
    <message>
        <source>辐射方向</source>
        <translation>Beam along</translation>
    </message>
    <message>
        <source>在 X 轴上</source>
        <translation>X axis</translation>
    </message>
    <message>
        <source>在 Y 轴上</source>
        <translation>Y axis</translation>
    </message>
    <message>
        <source>&amp;导出仿真文件</source>
        <translation>&amp;Export Model</translation>
    </message>
    <message>
        <source>&amp;打印</source>
        <translation>&amp;Print</translation>
    </message>
    <message>
        <source>退出</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Moxon 方框天线计算器</source>
        <translation>Moxon Rectangle Calculator</translation>
    </message>
</context>
</TS>
