<?xml version="1.0"?>
<program>
  <const pos="1:9">
    <ident text="MAX" pos="1:12"/>
    <expr pos="1:13" pos1="1:15">
      <number text="10" pos="1:15"/>
    </expr>
  </const>
  <var pos="2:1">
    <type text="int" pos="2:4"/>
    <ident text="g" pos="2:6"/>
    <init pos="2:7">
      <expr pos="2:9" pos1="2:13">
        <number text="$1F" pos="2:13"/>
      </expr>
    </init>
    <ident text="arr" pos="2:18"/>
    <array pos="2:18">
      <dim pos="2:19">
        <expr pos="2:19" pos1="2:20">
          <number text="3" pos="2:20"/>
        </expr>
      </dim>
      <dim pos="2:22">
        <expr pos="2:22" pos1="2:23">
          <number text="4" pos="2:23"/>
        </expr>
      </dim>
    </array>
  </var>
  <function pos="3:1">
    <type text="void" pos="3:5"/>
    <name text="P" pos="3:7"/>
    <parameters pos="3:7">
      <var pos="3:8">
        <type text="int" pos="3:11"/>
        <varparam text="&#38;" pos="3:13"/>
        <ident text="x" pos="3:14"/>
      </var>
      <var pos="3:16">
        <type text="int" pos="3:19"/>
        <ident text="y" pos="3:21"/>
        <init pos="3:22">
          <expr pos="3:24" pos1="3:25">
            <number text="2" pos="3:25"/>
          </expr>
        </init>
      </var>
    </parameters>
    <compoundstmt pos="3:27">
      <assignstmt pos="3:29">
        <dsgn pos="3:29">
          <node text="x" pos="3:30"/>
        </dsgn>
        <modificator text="+" pos="3:32"/>
        <expr pos="3:34" pos1="3:35">
          <dsgn pos="3:34">
            <node text="y" pos="3:35"/>
          </dsgn>
        </expr>
      </assignstmt>
      <callstmt pos="3:37">
        <dsgn pos="3:37">
          <node text="x" pos="3:38"/>
        </dsgn>
        <modificator text="+" pos="3:40"/>
      </callstmt>
    </compoundstmt>
  </function>
  <function pos="4:1">
    <type text="float" pos="4:6"/>
    <name text="F" pos="4:8"/>
    <parameters pos="4:8">
      <var pos="4:9">
        <type text="int" pos="4:12"/>
        <ident text="a" pos="4:14"/>
      </var>
    </parameters>
    <compoundstmt pos="4:16">
      <return pos="4:18">
        <expr pos="4:25" pos1="4:34">
          <dsgn pos="4:25">
            <node text="a" pos="4:26"/>
          </dsgn>
          <op text="/" pos="4:28"/>
          <number text="2.5e1" pos="4:34"/>
        </expr>
      </return>
    </compoundstmt>
  </function>
  <compoundstmt pos="5:1">
    <var pos="6:3">
      <type text="int" pos="6:6"/>
      <ident text="i" pos="6:8"/>
    </var>
    <cppforstmt pos="7:3">
      <compoundstmt pos="7:8">
        <assignstmt pos="7:8">
          <dsgn pos="7:8">
            <node text="i" pos="7:9"/>
          </dsgn>
          <expr pos="7:12" pos1="7:13">
            <number text="0" pos="7:13"/>
          </expr>
        </assignstmt>
        <assignstmt pos="7:15">
          <dsgn pos="7:15">
            <node text="g" pos="7:16"/>
          </dsgn>
          <expr pos="7:19" pos1="7:20">
            <number text="1" pos="7:20"/>
          </expr>
        </assignstmt>
      </compoundstmt>
      <expr pos="7:22" pos1="7:29">
        <dsgn pos="7:22">
          <node text="i" pos="7:23"/>
        </dsgn>
        <op text="&#60;" pos="7:25"/>
        <dsgn pos="7:26">
          <node text="MAX" pos="7:29"/>
        </dsgn>
      </expr>
      <compoundstmt pos="7:31">
        <callstmt pos="7:31">
          <dsgn pos="7:31">
            <node text="i" pos="7:32"/>
          </dsgn>
          <modificator text="+" pos="7:34"/>
        </callstmt>
      </compoundstmt>
      <compoundstmt pos="7:36">
        <ifstmt pos="7:38">
          <expr pos="7:42" pos1="7:52">
            <dsgn pos="7:42">
              <node text="i" pos="7:43"/>
            </dsgn>
            <op text="mod" pos="7:45"/>
            <number text="2" pos="7:47"/>
            <op text="=" pos="7:50"/>
            <number text="0" pos="7:52"/>
          </expr>
          <thenstmt pos="7:54">
            <callstmt pos="7:54">
              <dsgn pos="7:54">
                <node text="P" pos="7:55"/>
                <expr pos="7:56" pos1="7:57">
                  <dsgn pos="7:56">
                    <node text="g" pos="7:57"/>
                  </dsgn>
                </expr>
                <expr pos="7:59" pos1="7:60">
                  <dsgn pos="7:59">
                    <node text="i" pos="7:60"/>
                  </dsgn>
                </expr>
              </dsgn>
            </callstmt>
          </thenstmt>
          <elsestmt pos="7:68">
            <continue pos="7:68"/>
          </elsestmt>
        </ifstmt>
      </compoundstmt>
    </cppforstmt>
    <casestmt pos="8:3">
      <expr pos="8:11" pos1="8:12">
        <dsgn pos="8:11">
          <node text="g" pos="8:12"/>
        </dsgn>
      </expr>
      <caseselector pos="8:16">
        <set pos="8:21">
          <expr pos="8:21" pos1="8:22">
            <number text="1" pos="8:22"/>
          </expr>
          <expr pos="8:24" pos1="8:25">
            <number text="2" pos="8:25"/>
          </expr>
        </set>
        <assignstmt pos="8:27">
          <dsgn pos="8:27">
            <node text="g" pos="8:28"/>
          </dsgn>
          <expr pos="8:31" pos1="8:32">
            <number text="3" pos="8:32"/>
          </expr>
        </assignstmt>
      </caseselector>
      <caseselector pos="8:34">
        <set pos="8:39">
          <expr pos="8:39" pos1="8:40">
            <number text="4" pos="8:40"/>
          </expr>
        </set>
        <empty pos="8:42"/>
      </caseselector>
      <callstmt pos="8:53">
        <dsgn pos="8:53">
          <node text="g" pos="8:54"/>
        </dsgn>
        <modificator text="-" pos="8:56"/>
      </callstmt>
    </casestmt>
    <repeatstmt pos="9:3">
      <assignstmt pos="9:6">
        <dsgn pos="9:6">
          <node text="g" pos="9:7"/>
        </dsgn>
        <modificator text="-" pos="9:9"/>
        <expr pos="9:11" pos1="9:12">
          <number text="1" pos="9:12"/>
        </expr>
      </assignstmt>
      <expr pos="9:21" pos1="9:26">
        <dsgn pos="9:21">
          <node text="g" pos="9:22"/>
        </dsgn>
        <op text="&#62;" pos="9:24"/>
        <number text="0" pos="9:26"/>
      </expr>
      <inverse text="" pos="9:26"/>
    </repeatstmt>
    <trystmt pos="10:3">
      <compoundstmt pos="10:7">
        <delete pos="10:9">
          <dsgn pos="10:16">
            <node text="x" pos="10:17"/>
          </dsgn>
        </delete>
      </compoundstmt>
      <exceptstmt pos="10:28">
        <compoundstmt pos="10:28">
          <assignstmt pos="10:30">
            <dsgn pos="10:30">
              <node text="g" pos="10:31"/>
            </dsgn>
            <expr pos="10:34" pos1="10:53">
              <op text="not" pos="10:35"/>
              <dsgn pos="10:35">
                <node text="g" pos="10:36"/>
              </dsgn>
              <op text="and" pos="10:39"/>
              <op text="(" pos="10:41"/>
              <expr pos="10:41" pos1="10:47">
                <number text="1" pos="10:42"/>
                <op text="shl" pos="10:45"/>
                <number text="2" pos="10:47"/>
              </expr>
              <op text=")" pos="10:48"/>
              <op text="&#60;&#62;" pos="10:51"/>
              <number text="3" pos="10:53"/>
            </expr>
          </assignstmt>
        </compoundstmt>
      </exceptstmt>
    </trystmt>
    <assignstmt pos="11:3">
      <dsgn pos="11:3">
        <node text="arr" pos="11:6"/>
        <node text="[" pos="11:7"/>
        <expr pos="11:7" pos1="11:8">
          <number text="1" pos="11:8"/>
        </expr>
        <expr pos="11:10" pos1="11:11">
          <number text="2" pos="11:11"/>
        </expr>
      </dsgn>
      <expr pos="11:15" pos1="11:35">
        <string text="'a&#34;b&#10;'" pos="11:23"/>
        <op text="+" pos="11:25"/>
        <dsgn pos="11:34">
          <node text="Get" pos="11:34"/>
          <expr pos="11:34" pos1="11:34">
            <string text="'Expr[1]'" pos="11:34"/>
          </expr>
        </dsgn>
      </expr>
    </assignstmt>
  </compoundstmt>
  <types>
    <int type="integer"/>
    <long type="integer"/>
    <void type="integer"/>
    <bool type="boolean"/>
    <float type="extended"/>
  </types>
</program>
