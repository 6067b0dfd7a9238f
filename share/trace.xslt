<?xml version="1.0" encoding="UTF-8"?>
<!-- Turns a ZPV4870 driver trace into a page: every call as a row (time, thread, member, parameters,
     status, duration; failures highlighted with their message), the calls per member and the
     slowest calls. XSLT 1.0, so browsers apply it themselves. -->
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform">
  <xsl:output method="html" encoding="UTF-8" indent="yes"/>
  <xsl:key name="by-member" match="Method" use="concat(@Interface, '.', @Name)"/>
  <!-- Set by "zpv4870 trace view" for a trace that ends without its closing tag. -->
  <xsl:param name="incomplete" select="''"/>

  <!-- ExecutionTime is written as "%e" (1.234000e-03, 1.204296e+00); XPath 1.0 reads neither an
       exponent nor a leading "+", so the mantissa is scaled by hand. Result: microseconds. -->
  <xsl:template name="microseconds">
    <xsl:param name="time"/>
    <xsl:variable name="mantissa" select="number(substring-before($time, 'e'))"/>
    <xsl:variable name="exponent" select="number(translate(substring-after($time, 'e'), '+', ''))"/>
    <xsl:call-template name="scale">
      <xsl:with-param name="value" select="$mantissa"/>
      <xsl:with-param name="power" select="$exponent + 6"/>
    </xsl:call-template>
  </xsl:template>

  <xsl:template name="scale">
    <xsl:param name="value"/>
    <xsl:param name="power"/>
    <xsl:choose>
      <xsl:when test="$power &gt; 0">
        <xsl:call-template name="scale">
          <xsl:with-param name="value" select="$value * 10"/>
          <xsl:with-param name="power" select="$power - 1"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:when test="$power &lt; 0">
        <xsl:call-template name="scale">
          <xsl:with-param name="value" select="$value div 10"/>
          <xsl:with-param name="power" select="$power + 1"/>
        </xsl:call-template>
      </xsl:when>
      <xsl:otherwise><xsl:value-of select="$value"/></xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template name="duration">
    <xsl:param name="time"/>
    <xsl:variable name="us">
      <xsl:call-template name="microseconds"><xsl:with-param name="time" select="$time"/></xsl:call-template>
    </xsl:variable>
    <xsl:choose>
      <xsl:when test="$us &gt;= 1000"><xsl:value-of select="format-number($us div 1000, '0.000')"/> ms</xsl:when>
      <xsl:otherwise><xsl:value-of select="format-number($us, '0.0')"/> µs</xsl:otherwise>
    </xsl:choose>
  </xsl:template>

  <xsl:template match="/TraceRecords">
    <html>
      <head>
        <meta charset="utf-8"/>
        <title>ZPV4870 driver trace</title>
        <style>
          body { font: 13px/1.4 sans-serif; margin: 1.5em; color: #222; }
          table { border-collapse: collapse; margin-bottom: 2em; }
          th, td { border-bottom: 1px solid #ddd; padding: 3px 8px; text-align: left; vertical-align: top; }
          th { background: #f0f0f0; }
          tr.failed td { background: #fde2e2; }
          td.status.failed { color: #a00; font-weight: bold; }
          .param { white-space: nowrap; } .dir { color: #777; } .type { color: #999; font-size: 90%; }
          td.num { text-align: right; font-variant-numeric: tabular-nums; }
        </style>
      </head>
      <body>
        <h1>ZPV4870 driver trace</h1>
        <xsl:if test="$incomplete != ''">
          <p id="incomplete" style="background: #fff3cd; padding: 6px 10px;"><xsl:value-of select="$incomplete"/></p>
        </xsl:if>
        <p id="summary"><xsl:value-of select="count(Method)"/> calls,
          <xsl:value-of select="count(Method[HRESULT/@Value != '0x00000000' and starts-with(HRESULT/@Value, '0x8')])"/> failed.</p>

        <h2>Calls</h2>
        <table id="calls">
          <tr><th>#</th><th>Time</th><th>Thread</th><th>Member</th><th>Parameters</th><th>Status</th><th>Duration</th></tr>
          <xsl:for-each select="Method">
            <xsl:variable name="failed" select="starts-with(HRESULT/@Value, '0x8')"/>
            <tr class="call">
              <xsl:if test="$failed"><xsl:attribute name="class">call failed</xsl:attribute></xsl:if>
              <td class="num"><xsl:value-of select="position()"/></td>
              <td><xsl:value-of select="@StartTime"/></td>
              <td><xsl:value-of select="@Thread"/></td>
              <td><xsl:value-of select="@Interface"/>.<b><xsl:value-of select="@Name"/></b></td>
              <td>
                <xsl:for-each select="Parameter">
                  <div class="param">
                    <span class="dir"><xsl:value-of select="@Direction"/></span>
                    <xsl:text> </xsl:text><xsl:value-of select="@Name"/> =
                    <xsl:choose>
                      <xsl:when test="@NumDims">[<xsl:value-of select="@DimSizes"/>]
                        <xsl:for-each select="Element"><xsl:if test="position() &gt; 1">, </xsl:if><xsl:value-of select="@Value"/></xsl:for-each>
                      </xsl:when>
                      <xsl:otherwise><xsl:value-of select="@Value"/></xsl:otherwise>
                    </xsl:choose>
                    <xsl:text> </xsl:text><span class="type"><xsl:value-of select="@DataType"/></span>
                  </div>
                </xsl:for-each>
              </td>
              <td class="status">
                <xsl:if test="$failed"><xsl:attribute name="class">status failed</xsl:attribute></xsl:if>
                <xsl:value-of select="HRESULT/@Value"/>
                <xsl:if test="HRESULT/@Message"><div class="message"><xsl:value-of select="HRESULT/@Message"/></div></xsl:if>
              </td>
              <td class="num">
                <xsl:call-template name="duration"><xsl:with-param name="time" select="Execution/@ExecutionTime"/></xsl:call-template>
              </td>
            </tr>
          </xsl:for-each>
        </table>

        <h2>Calls per member</h2>
        <table id="members">
          <tr><th>Member</th><th>Calls</th><th>Failed</th></tr>
          <xsl:for-each select="Method[generate-id() = generate-id(key('by-member', concat(@Interface, '.', @Name))[1])]">
            <xsl:sort select="count(key('by-member', concat(@Interface, '.', @Name)))" data-type="number" order="descending"/>
            <xsl:variable name="calls" select="key('by-member', concat(@Interface, '.', @Name))"/>
            <tr>
              <td><xsl:value-of select="concat(@Interface, '.', @Name)"/></td>
              <td class="num"><xsl:value-of select="count($calls)"/></td>
              <td class="num"><xsl:value-of select="count($calls[starts-with(HRESULT/@Value, '0x8')])"/></td>
            </tr>
          </xsl:for-each>
        </table>

        <h2>Slowest calls</h2>
        <table id="slowest">
          <tr><th>Member</th><th>Time</th><th>Duration</th></tr>
          <xsl:for-each select="Method">
            <xsl:sort select="number(translate(substring-after(Execution/@ExecutionTime, 'e'), '+', ''))" data-type="number" order="descending"/>
            <xsl:sort select="number(substring-before(Execution/@ExecutionTime, 'e'))" data-type="number" order="descending"/>
            <xsl:if test="position() &lt;= 10">
              <tr>
                <td><xsl:value-of select="concat(@Interface, '.', @Name)"/></td>
                <td><xsl:value-of select="@StartTime"/></td>
                <td class="num">
                  <xsl:call-template name="duration"><xsl:with-param name="time" select="Execution/@ExecutionTime"/></xsl:call-template>
                </td>
              </tr>
            </xsl:if>
          </xsl:for-each>
        </table>
      </body>
    </html>
  </xsl:template>
</xsl:stylesheet>
