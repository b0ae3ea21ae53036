<?xml version="1.0"?>
<program>
  <compoundstmt pos="1:1">
    <var pos="1:5">
      <ident text="a" pos="1:6"/>
      <init pos="1:7">
        <expr pos="1:9" pos1="1:10">
          <number text="1" pos="1:10"/>
        </expr>
      </init>
    </var>
    <var pos="1:12">
      <ident text="b" pos="1:13"/>
      <array pos="1:13">
        <dim pos="1:14">
          <expr pos="1:14" pos1="1:15">
            <number text="2" pos="1:15"/>
          </expr>
        </dim>
        <dim pos="1:17">
          <expr pos="1:17" pos1="1:18">
            <number text="3" pos="1:18"/>
          </expr>
        </dim>
      </array>
    </var>
    <function pos="2:1">
      <name text="f" pos="2:11"/>
      <parameters pos="2:11">
        <var pos="2:12">
          <varparam text="&#38;" pos="2:13"/>
          <ident text="x" pos="2:14"/>
        </var>
        <var pos="2:16">
          <ident text="y" pos="2:17"/>
        </var>
      </parameters>
      <compoundstmt pos="2:21">
        <assignstmt pos="2:21">
          <dsgn pos="2:21">
            <node text="x" pos="2:22"/>
          </dsgn>
          <expr pos="2:25" pos1="2:30">
            <dsgn pos="2:25">
              <node text="y" pos="2:26"/>
            </dsgn>
            <op text="*" pos="2:28"/>
            <number text="2" pos="2:30"/>
          </expr>
        </assignstmt>
        <return pos="2:32">
          <expr pos="2:39" pos1="2:40">
            <dsgn pos="2:39">
              <node text="x" pos="2:40"/>
            </dsgn>
          </expr>
        </return>
      </compoundstmt>
    </function>
    <ifstmt pos="3:1">
      <expr pos="3:5" pos1="3:11">
        <dsgn pos="3:5">
          <node text="a" pos="3:6"/>
        </dsgn>
        <op text="=" pos="3:9"/>
        <number text="1" pos="3:11"/>
      </expr>
      <thenstmt pos="3:13">
        <callstmt pos="3:13">
          <dsgn pos="3:13">
            <node text="f" pos="3:14"/>
            <expr pos="3:15" pos1="3:16">
              <dsgn pos="3:15">
                <node text="a" pos="3:16"/>
              </dsgn>
            </expr>
            <expr pos="3:18" pos1="3:19">
              <number text="2" pos="3:19"/>
            </expr>
          </dsgn>
        </callstmt>
      </thenstmt>
      <elsestmt pos="3:27">
        <compoundstmt pos="3:29">
          <assignstmt pos="3:29">
            <dsgn pos="3:29">
              <node text="a" pos="3:30"/>
            </dsgn>
            <expr pos="3:33" pos1="3:34">
              <number text="0" pos="3:34"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </elsestmt>
    </ifstmt>
    <cppforstmt pos="4:1">
      <var pos="4:10">
        <ident text="i" pos="4:11"/>
        <init pos="4:12">
          <expr pos="4:14" pos1="4:15">
            <number text="0" pos="4:15"/>
          </expr>
        </init>
      </var>
      <expr pos="4:17" pos1="4:23">
        <dsgn pos="4:17">
          <node text="i" pos="4:18"/>
        </dsgn>
        <op text="&#60;" pos="4:20"/>
        <number text="10" pos="4:23"/>
      </expr>
      <callstmt pos="4:25">
        <dsgn pos="4:25">
          <node text="i" pos="4:26"/>
        </dsgn>
        <modificator text="+" pos="4:28"/>
      </callstmt>
      <assignstmt pos="4:30">
        <dsgn pos="4:30">
          <node text="a" pos="4:31"/>
        </dsgn>
        <modificator text="+" pos="4:33"/>
        <expr pos="4:35" pos1="4:36">
          <dsgn pos="4:35">
            <node text="i" pos="4:36"/>
          </dsgn>
        </expr>
      </assignstmt>
    </cppforstmt>
    <whilestmt pos="5:1">
      <expr pos="5:8" pos1="5:13">
        <dsgn pos="5:8">
          <node text="a" pos="5:9"/>
        </dsgn>
        <op text="&#62;" pos="5:11"/>
        <number text="0" pos="5:13"/>
      </expr>
      <callstmt pos="5:15">
        <dsgn pos="5:15">
          <node text="a" pos="5:16"/>
        </dsgn>
        <modificator text="-" pos="5:18"/>
      </callstmt>
    </whilestmt>
    <repeatstmt pos="6:1">
      <compoundstmt pos="6:6">
        <assignstmt pos="6:6">
          <dsgn pos="6:6">
            <node text="a" pos="6:7"/>
          </dsgn>
          <expr pos="6:10" pos1="6:15">
            <dsgn pos="6:10">
              <node text="a" pos="6:11"/>
            </dsgn>
            <op text="xor" pos="6:13"/>
            <number text="1" pos="6:15"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="6:25" pos1="6:31">
        <dsgn pos="6:25">
          <node text="a" pos="6:26"/>
        </dsgn>
        <op text="&#60;&#62;" pos="6:29"/>
        <number text="0" pos="6:31"/>
      </expr>
      <inverse text="" pos="6:31"/>
    </repeatstmt>
    <casestmt pos="7:1">
      <expr pos="7:9" pos1="7:10">
        <dsgn pos="7:9">
          <node text="a" pos="7:10"/>
        </dsgn>
      </expr>
      <caseselector pos="7:14">
        <set pos="7:19">
          <expr pos="7:19" pos1="7:20">
            <number text="1" pos="7:20"/>
          </expr>
        </set>
        <assignstmt pos="7:22">
          <dsgn pos="7:22">
            <node text="b" pos="7:23"/>
          </dsgn>
          <expr pos="7:26" pos1="7:27">
            <number text="2" pos="7:27"/>
          </expr>
        </assignstmt>
      </caseselector>
      <assignstmt pos="7:37">
        <dsgn pos="7:37">
          <node text="b" pos="7:38"/>
        </dsgn>
        <expr pos="7:41" pos1="7:42">
          <number text="3" pos="7:42"/>
        </expr>
      </assignstmt>
    </casestmt>
    <trystmt pos="8:1">
      <assignstmt pos="8:5">
        <dsgn pos="8:5">
          <node text="a" pos="8:6"/>
        </dsgn>
        <expr pos="8:9" pos1="8:10">
          <number text="1" pos="8:10"/>
        </expr>
      </assignstmt>
      <finallystmt pos="8:19">
        <assignstmt pos="8:19">
          <dsgn pos="8:19">
            <node text="a" pos="8:20"/>
          </dsgn>
          <expr pos="8:23" pos1="8:24">
            <number text="2" pos="8:24"/>
          </expr>
        </assignstmt>
      </finallystmt>
    </trystmt>
    <with pos="9:1">
      <dsgn pos="9:7">
        <node text="Foo" pos="9:10"/>
        <node text="Bar" pos="9:14"/>
      </dsgn>
      <assignstmt pos="9:16">
        <dsgn pos="9:16">
          <node text="Baz" pos="9:19"/>
        </dsgn>
        <expr pos="9:22" pos1="9:32">
          <string text="'xA&#10;y'" pos="9:32"/>
        </expr>
      </assignstmt>
    </with>
    <assignstmt pos="10:1">
      <dsgn pos="10:1">
        <node text="x" pos="10:2"/>
      </dsgn>
      <expr pos="10:5" pos1="10:14">
        <set pos="10:6">
          <expr pos="10:6" pos1="10:7">
            <number text="1" pos="10:7"/>
          </expr>
          <expr pos="10:9" pos1="10:10">
            <number text="2" pos="10:10"/>
          </expr>
          <range text="." pos="10:12"/>
          <expr pos="10:12" pos1="10:13">
            <number text="3" pos="10:13"/>
          </expr>
        </set>
      </expr>
    </assignstmt>
  </compoundstmt>
  <types/>
</program>
