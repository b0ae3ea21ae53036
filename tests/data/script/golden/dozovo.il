<?xml version="1.0"?>
<program>
  <const pos="2:7">
    <ident text="N" pos="2:8"/>
    <expr pos="2:11" pos1="2:13">
      <number text="10" pos="2:13"/>
    </expr>
  </const>
  <var pos="3:5">
    <ident text="i" pos="3:6"/>
    <ident text="j" pos="3:9"/>
    <type text="Integer" pos="3:18"/>
    <init pos="3:19">
      <expr pos="3:21" pos1="3:22">
        <number text="5" pos="3:22"/>
      </expr>
    </init>
  </var>
  <var pos="4:5">
    <ident text="a" pos="4:6"/>
    <array pos="4:8">
      <dim pos="4:14">
        <expr pos="4:14" pos1="4:15">
          <number text="1" pos="4:15"/>
        </expr>
        <expr pos="4:17" pos1="4:18">
          <number text="3" pos="4:18"/>
        </expr>
      </dim>
      <dim pos="4:20">
        <expr pos="4:20" pos1="4:21">
          <number text="4" pos="4:21"/>
        </expr>
      </dim>
    </array>
    <type text="String" pos="4:32"/>
  </var>
  <procedure pos="5:1">
    <name text="P" pos="5:12"/>
    <parameters pos="5:12">
      <varparams pos="5:13"/>
      <var pos="5:17">
        <ident text="x" pos="5:18"/>
        <type text="Integer" pos="5:27"/>
      </var>
      <var pos="5:29">
        <ident text="y" pos="5:30"/>
        <type text="Integer" pos="5:39"/>
        <init pos="5:40">
          <expr pos="5:42" pos1="5:43">
            <number text="2" pos="5:43"/>
          </expr>
        </init>
      </var>
    </parameters>
    <compoundstmt pos="6:1">
      <assignstmt pos="7:3">
        <dsgn pos="7:3">
          <node text="x" pos="7:4"/>
        </dsgn>
        <expr pos="7:8" pos1="7:17">
          <dsgn pos="7:8">
            <node text="x" pos="7:9"/>
          </dsgn>
          <op text="+" pos="7:11"/>
          <dsgn pos="7:12">
            <node text="y" pos="7:13"/>
          </dsgn>
          <op text="*" pos="7:15"/>
          <number text="2" pos="7:17"/>
        </expr>
      </assignstmt>
    </compoundstmt>
  </procedure>
  <function pos="9:1">
    <name text="F" pos="9:11"/>
    <parameters pos="9:11">
      <var pos="9:12">
        <ident text="s" pos="9:13"/>
        <type text="String" pos="9:21"/>
      </var>
    </parameters>
    <type text="Boolean" pos="9:31"/>
    <compoundstmt pos="10:1">
      <assignstmt pos="11:3">
        <dsgn pos="11:3">
          <node text="Result" pos="11:9"/>
        </dsgn>
        <expr pos="11:13" pos1="11:49">
          <op text="(" pos="11:14"/>
          <expr pos="11:14" pos1="11:21">
            <dsgn pos="11:14">
              <node text="s" pos="11:15"/>
            </dsgn>
            <op text="&#60;&#62;" pos="11:18"/>
            <string text="''" pos="11:21"/>
          </expr>
          <op text=")" pos="11:22"/>
          <op text="and" pos="11:26"/>
          <op text="not" pos="11:30"/>
          <op text="(" pos="11:32"/>
          <expr pos="11:32" pos1="11:48">
            <dsgn pos="11:32">
              <node text="s" pos="11:33"/>
            </dsgn>
            <op text="=" pos="11:35"/>
            <string text="'a'b&#13;&#10;'" pos="11:48"/>
          </expr>
          <op text=")" pos="11:49"/>
        </expr>
      </assignstmt>
    </compoundstmt>
  </function>
  <compoundstmt pos="13:1">
    <forstmt pos="14:3">
      <ident text="i" pos="14:8"/>
      <expr pos="14:12" pos1="14:13">
        <number text="1" pos="14:13"/>
      </expr>
      <expr pos="14:17" pos1="14:18">
        <dsgn pos="14:17">
          <node text="N" pos="14:18"/>
        </dsgn>
      </expr>
      <callstmt pos="14:22">
        <dsgn pos="14:22">
          <node text="P" pos="14:23"/>
          <expr pos="14:24" pos1="14:25">
            <dsgn pos="14:24">
              <node text="j" pos="14:25"/>
            </dsgn>
          </expr>
          <expr pos="14:27" pos1="14:28">
            <number text="3" pos="14:28"/>
          </expr>
        </dsgn>
      </callstmt>
    </forstmt>
    <ifstmt pos="15:3">
      <expr pos="15:6" pos1="15:12">
        <dsgn pos="15:6">
          <node text="i" pos="15:7"/>
        </dsgn>
        <op text="&#62;=" pos="15:10"/>
        <number text="2" pos="15:12"/>
      </expr>
      <thenstmt pos="15:18">
        <assignstmt pos="15:18">
          <dsgn pos="15:18">
            <node text="a" pos="15:19"/>
            <node text="[" pos="15:20"/>
            <expr pos="15:20" pos1="15:21">
              <number text="1" pos="15:21"/>
            </expr>
            <expr pos="15:23" pos1="15:24">
              <number text="2" pos="15:24"/>
            </expr>
          </dsgn>
          <expr pos="15:29" pos1="15:38">
            <dsgn pos="15:37">
              <node text="Get" pos="15:37"/>
              <expr pos="15:37" pos1="15:37">
                <string text="'Foo.&#34;x&#34;'" pos="15:37"/>
              </expr>
            </dsgn>
          </expr>
        </assignstmt>
      </thenstmt>
      <elsestmt pos="15:45">
        <exit pos="15:45"/>
      </elsestmt>
    </ifstmt>
    <casestmt pos="16:3">
      <expr pos="16:8" pos1="16:9">
        <dsgn pos="16:8">
          <node text="i" pos="16:9"/>
        </dsgn>
      </expr>
      <caseselector pos="16:13">
        <set pos="16:13">
          <expr pos="16:13" pos1="16:14">
            <number text="1" pos="16:14"/>
          </expr>
          <expr pos="16:16" pos1="16:17">
            <number text="2" pos="16:17"/>
          </expr>
          <range text="." pos="16:18"/>
          <expr pos="16:19" pos1="16:20">
            <number text="3" pos="16:20"/>
          </expr>
        </set>
        <assignstmt pos="16:22">
          <dsgn pos="16:22">
            <node text="j" pos="16:23"/>
          </dsgn>
          <expr pos="16:27" pos1="16:30">
            <number text="$FF" pos="16:30"/>
          </expr>
        </assignstmt>
      </caseselector>
      <assignstmt pos="16:37">
        <dsgn pos="16:37">
          <node text="j" pos="16:38"/>
        </dsgn>
        <expr pos="16:42" pos1="16:44">
          <op text="unminus" pos="16:43"/>
          <number text="1" pos="16:44"/>
        </expr>
      </assignstmt>
    </casestmt>
    <trystmt pos="17:3">
      <assignstmt pos="17:7">
        <dsgn pos="17:7">
          <node text="j" pos="17:8"/>
        </dsgn>
        <expr pos="17:12" pos1="17:13">
          <number text="1" pos="17:13"/>
        </expr>
      </assignstmt>
      <finallystmt pos="17:22">
        <assignstmt pos="17:22">
          <dsgn pos="17:22">
            <node text="j" pos="17:23"/>
          </dsgn>
          <expr pos="17:27" pos1="17:28">
            <number text="2" pos="17:28"/>
          </expr>
        </assignstmt>
      </finallystmt>
    </trystmt>
    <repeatstmt pos="18:3">
      <callstmt pos="18:10">
        <dsgn pos="18:10">
          <node text="Inc" pos="18:13"/>
          <expr pos="18:14" pos1="18:15">
            <dsgn pos="18:14">
              <node text="i" pos="18:15"/>
            </dsgn>
          </expr>
        </dsgn>
      </callstmt>
      <expr pos="18:23" pos1="18:28">
        <dsgn pos="18:23">
          <node text="i" pos="18:24"/>
        </dsgn>
        <op text="&#62;" pos="18:26"/>
        <number text="5" pos="18:28"/>
      </expr>
    </repeatstmt>
    <with pos="19:3">
      <dsgn pos="19:8">
        <node text="Foo" pos="19:11"/>
        <node text="Bar" pos="19:15"/>
      </dsgn>
      <callstmt pos="19:19">
        <dsgn pos="19:19">
          <node text="Baz" pos="19:22"/>
          <expr pos="19:23" pos1="19:24">
            <number text="1" pos="19:24"/>
          </expr>
        </dsgn>
      </callstmt>
    </with>
  </compoundstmt>
  <types/>
</program>
